#include "platform/live/XdgAutostart.h"

#include <cstdlib>
#include <sstream>
#include <system_error>

#include "platform/live/FileReplacement.h"
#include "platform/live/RegularFileReading.h"
#include "platform/log/OSLog.h"

namespace corvane::platform::live {

namespace fs = std::filesystem;

namespace {

constexpr const char* kEntrySuffix = ".desktop";
/// Entries larger than this are not read (an entry is a few lines).
constexpr std::size_t kMaxEntryBytes = std::size_t{1} << 20;

const OSLog& autostartLogger() {
    static const auto* logger = new OSLog("ServiceManagement", "autostart");
    return *logger;
}

/// Whether `text` holds a control character, which no entry value may carry.
bool hasControlCharacter(const std::string& text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            return true;
    }
    return false;
}

/// A value of the string type: backslashes escaped.
std::string stringValue(const std::string& text) {
    std::string value;
    for (char c : text) {
        if (c == '\\')
            value += '\\';
        value += c;
    }
    return value;
}

/// The "Exec" value that starts `program` with no arguments, whatever characters its path
/// holds: the path quoted as one argument (with '"', '`', '$' and '\' escaped inside the
/// quotes), then escaped as a string value, with '%' doubled so that it is no field code.
std::string execValue(const std::string& program) {
    std::string quoted = "\"";
    for (char c : program) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    std::string value;
    for (char c : stringValue(quoted)) {
        if (c == '%')
            value += '%';
        value += c;
    }
    return value;
}

/// Whether an entry's text leaves it switched on: not hidden, not disabled by the desktop.
bool isSwitchedOn(const std::string& text) {
    std::istringstream entry(text);
    std::string line;
    while (std::getline(entry, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false")
            return false;
    }
    return true;
}

bool isValidName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           !hasControlCharacter(name);
}

/// The text of the entry at `path`, or none when there is none or it cannot be read. It is
/// read without blocking: what is not a regular file (a FIFO put there) is skipped, with a
/// log line, as is an entry too large or unreadable.
std::optional<std::string> readEntry(const fs::path& path) {
    RegularFileText entry = readRegularFile(path.string(), kMaxEntryBytes);
    if (entry.exists && !entry.text) {
        autostartLogger().error(
            "Autostart: %{public}s is skipped: %{public}s", path.string(),
            std::string(entry.regular ? "it cannot be read" : "it is not a regular file"));
    }
    return std::move(entry.text);
}

[[noreturn]] void fail(const std::string& what, const fs::path& path,
                       const std::error_code& error) {
    throw SMAppServiceError("Could not " + what + " the autostart entry " + path.string() + ": " +
                            error.message());
}

}  // namespace

XdgAutostart::XdgAutostart(fs::path folder, std::optional<std::string> program,
                           std::string mainAppName, std::string displayName)
    : folder_(std::move(folder)),
      program_(std::move(program)),
      mainAppName_(std::move(mainAppName)),
      displayName_(std::move(displayName)) {}

fs::path XdgAutostart::defaultFolder() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0')
        return fs::path(xdg) / "autostart";
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return fs::path(home) / ".config" / "autostart";
    return fs::path(".config") / "autostart";
}

std::optional<std::string> XdgAutostart::currentProgram() {
    std::error_code error;
    fs::path path = fs::read_symlink("/proc/self/exe", error);
    if (error)
        return std::nullopt;
    return path.string();
}

fs::path XdgAutostart::entryPath(const std::string& name) const {
    return folder_ / (name + kEntrySuffix);
}

SMAppService::Status XdgAutostart::mainAppStatus() const {
    if (!program_ || !isValidName(mainAppName_))
        return SMAppService::Status::notFound;
    const auto entry = readEntry(entryPath(mainAppName_));
    return entry && isSwitchedOn(*entry) ? SMAppService::Status::enabled
                                         : SMAppService::Status::notRegistered;
}

void XdgAutostart::registerMainApp() {
    if (!program_)
        throw SMAppServiceError("The path of this program is unknown.");
    writeEntry(mainAppName_);
}

void XdgAutostart::unregisterMainApp() {
    removeEntry(mainAppName_);
}

bool XdgAutostart::setLoginItemEnabled(const std::string& identifier, bool enabled) {
    try {
        if (enabled) {
            if (!program_)
                return false;
            writeEntry(identifier);
        } else {
            removeEntry(identifier);
        }
        return true;
    } catch (const SMAppServiceError&) {
        return false;
    }
}

std::optional<std::vector<PlistValue>> XdgAutostart::userJobDictionaries() const {
    std::vector<PlistValue> jobs;
    std::error_code error;
    if (!fs::exists(folder_, error))
        return error ? std::nullopt : std::optional(jobs);
    for (fs::directory_iterator it(folder_, error), end; !error && it != end; it.increment(error)) {
        const fs::path& path = it->path();
        if (path.extension() != kEntrySuffix)
            continue;
        const auto entry = readEntry(path);
        if (!entry)
            continue;
        jobs.emplace_back(
            PlistDictionary{{"Label", path.stem().string()}, {"OnDemand", isSwitchedOn(*entry)}});
    }
    if (error)
        return std::nullopt;
    return jobs;
}

void XdgAutostart::writeEntry(const std::string& name) const {
    if (!isValidName(name))
        throw SMAppServiceError("\"" + name + "\" cannot name an autostart entry.");
    if (hasControlCharacter(*program_) || hasControlCharacter(displayName_))
        throw SMAppServiceError(
            "The path of this program cannot be written to an autostart entry.");
    const fs::path path = entryPath(name);
    std::error_code error;
    fs::create_directories(folder_, error);
    if (error)
        fail("create the folder of", path, error);

    std::ostringstream text;
    text << "[Desktop Entry]\n"
         << "Type=Application\n"
         << "Name=" << stringValue(displayName_) << "\n"
         << "Exec=" << execValue(*program_) << "\n";
    // Written beside it and renamed over it, so that the desktop never reads half an entry.
    removeStaleReplacements(path);
    if (const std::error_code written = replaceFileAtomically(path, text.str()))
        fail("write", path, written);
}

void XdgAutostart::removeEntry(const std::string& name) const {
    if (!isValidName(name))
        throw SMAppServiceError("\"" + name + "\" cannot name an autostart entry.");
    const fs::path path = entryPath(name);
    std::error_code error;
    fs::remove(path, error);
    if (error)
        fail("remove", path, error);
}

}  // namespace corvane::platform::live
