#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/PlistValue.h"

namespace corvane::platform {

/// The keys of a script's error dictionary: the error's number (a number; -128 when the user
/// cancelled) and its message (a string).
inline const std::string NSAppleScriptErrorNumber = "NSAppleScriptErrorNumber";
inline const std::string NSAppleScriptErrorMessage = "NSAppleScriptErrorMessage";

/// A script in the system's scripting language, run in this process. Main thread; running
/// waits until the script ends (a password prompt included).
class NSAppleScript {
  public:
    /// The script of `source`; none when no script can be made of it.
    static std::optional<NSAppleScript> initWithSource(std::string source);

    const std::string& source() const { return source_; }
    /// Runs the script. True when it ended without an error; otherwise false, and
    /// `errorInfo`, when given, holds the error under `NSAppleScriptErrorNumber` and
    /// `NSAppleScriptErrorMessage`.
    bool executeAndReturnError(PlistDictionary* errorInfo) const;

  private:
    explicit NSAppleScript(std::string source) : source_(std::move(source)) {}
    std::string source_;
};

/// What runs scripts.
class AppleScriptBackend {
  public:
    virtual ~AppleScriptBackend() = default;
    /// Whether a script can be made of `source`.
    virtual bool canCreate(const std::string& source) = 0;
    /// Runs `source`: 0 when it ended without an error, else the error's number with its
    /// message in `message`.
    virtual int execute(const std::string& source, std::string* message) = 0;
};

/// Installs the script backend of the process.
void installAppleScriptBackend(std::shared_ptr<AppleScriptBackend> backend);

/// A script that is one shell-command statement: `do shell script "..."`, perhaps followed by
/// `with administrator privileges`.
struct DoShellScript {
    std::string command;  ///< the string literal's text, its escapes (\" \\ \n \r \t) read
    bool withAdministratorPrivileges = false;

    bool operator==(const DoShellScript&) const = default;
};

/// The shell command of `source` when it is exactly one such statement; none otherwise (an
/// unterminated literal or an unknown escape included).
std::optional<DoShellScript> parseDoShellScript(const std::string& source);

}  // namespace corvane::platform
