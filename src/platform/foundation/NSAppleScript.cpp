#include "platform/foundation/NSAppleScript.h"

#include "platform/runtime/BackendSlot.h"

namespace corvane::platform {

namespace {

BackendSlot<AppleScriptBackend>& slot() {
    return backendSlot<AppleScriptBackend>("script");
}

}  // namespace

void installAppleScriptBackend(std::shared_ptr<AppleScriptBackend> backend) {
    slot().install(std::move(backend));
}

std::optional<NSAppleScript> NSAppleScript::initWithSource(std::string source) {
    if (!slot().get().canCreate(source))
        return std::nullopt;
    return NSAppleScript(std::move(source));
}

bool NSAppleScript::executeAndReturnError(PlistDictionary* errorInfo) const {
    std::string message;
    const int number = slot().get().execute(source_, &message);
    if (number == 0)
        return true;
    if (errorInfo != nullptr) {
        *errorInfo = {{NSAppleScriptErrorNumber, number}, {NSAppleScriptErrorMessage, message}};
    }
    return false;
}

std::optional<DoShellScript> parseDoShellScript(const std::string& source) {
    static const std::string opening = "do shell script \"";
    static const std::string privileges = " with administrator privileges";
    if (!source.starts_with(opening))
        return std::nullopt;
    DoShellScript script;
    std::size_t i = opening.size();
    for (; i < source.size() && source[i] != '"'; ++i) {
        if (source[i] != '\\') {
            script.command += source[i];
            continue;
        }
        if (++i == source.size())
            return std::nullopt;
        switch (source[i]) {
            case '"':
            case '\\':
                script.command += source[i];
                break;
            case 'n':
                script.command += '\n';
                break;
            case 'r':
                script.command += '\r';
                break;
            case 't':
                script.command += '\t';
                break;
            default:
                return std::nullopt;
        }
    }
    if (i == source.size())
        return std::nullopt;
    const std::string rest = source.substr(i + 1);
    if (!rest.empty() && rest != privileges)
        return std::nullopt;
    script.withAdministratorPrivileges = !rest.empty();
    return script;
}

}  // namespace corvane::platform
