#include "app/AppMover.h"

#include <algorithm>

#include "platform/appkit/NSAlert.h"
#include "platform/appkit/NSApplication.h"
#include "platform/appkit/RunningApplication.h"
#include "platform/appkit/Workspace.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/NSAppleScript.h"
#include "platform/foundation/Process.h"
#include "platform/foundation/ProcessInfo.h"
#include "platform/runtime/Runtime.h"
#include "settings/Utils.h"

namespace corvane {

using namespace platform;

namespace {

/// The application directories with the most entries are never "/System/Applications": the
/// system's own applications live there and nothing may be added to it.
constexpr const char* kSystemApplications = "/System/Applications";
constexpr int kUserCancelledError = -128;

std::string trimmed(const std::string& text) {
    static constexpr const char* kWhiteSpace = " \t\n\r\v\f";
    const std::size_t begin = text.find_first_not_of(kWhiteSpace);
    if (begin == std::string::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(kWhiteSpace) - begin + 1);
}

// Paths reach two shells: the administrator script's command, where each path stands between
// single quotes inside a double-quoted script string, and the relaunch script, where the path
// stands between double quotes. A path with none of the characters these quotes give meaning
// to comes out exactly as it went in.

/// `text` between single quotes for the shell; a single quote in it ends the quoted run, is
/// given escaped, and a new run begins ('\'').
std::string shellSingleQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

/// `text` as the inside of a double-quoted script string: \ and " escaped, tab, line feed and
/// carriage return written \t, \n and \r. None for text the script cannot carry faithfully:
/// bytes that are not UTF-8, or another control character.
std::optional<std::string> appleScriptStringBody(const std::string& text) {
    if (Utils::decodeUTF8Lossy(text) != text)
        return std::nullopt;
    std::string body;
    for (char c : text) {
        switch (c) {
            case '\\':
                body += "\\\\";
                break;
            case '"':
                body += "\\\"";
                break;
            case '\t':
                body += "\\t";
                break;
            case '\n':
                body += "\\n";
                break;
            case '\r':
                body += "\\r";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
                    return std::nullopt;
                body += c;
        }
    }
    return body;
}

/// Whether `name`, the last component of the bundle's path, names the bundle itself. A path
/// without a name ("/", or one ending in "." or "..") would make the destination the
/// Applications folder itself or a folder above it, which the move replaces whole.
bool isBundleName(const std::string& name) {
    return !name.empty() && name != "/" && name != "." && name != "..";
}

/// `text` as the inside of a double-quoted shell word: $ ` " and \ escaped with a backslash.
std::string shellDoubleQuoteEscaped(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        if (c == '$' || c == '`' || c == '"' || c == '\\')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

/// How one pass of the offer ends.
enum class Pass {
    done,   ///< moved, declined, abandoned or terminated: nothing more to do
    again,  ///< the password prompt was cancelled: the whole pass runs again, alert and all
};

Pass offerMove() {
    const Bundle& bundle = Bundle::main();
    if (AppMover::isInstalled(bundle))
        return Pass::done;
    const auto directory = AppMover::preferredInstallDirectory();
    if (!directory)
        return Pass::done;

    auto& files = FileManager::defaultManager();
    const URL source = URL::fileURLWithPath(bundle.bundlePath());
    const URL destination = directory->URLByAppendingPathComponent(source.lastPathComponent());
    const bool needsAuthentication = (files.fileExistsAtPath(destination.path()) &&
                                      !files.isWritableFileAtPath(destination.path())) ||
                                     !files.isWritableFileAtPath(directory->path());

    auto& application = NSApplication::shared();
    if (!application.isActive())
        application.activate(true);

    NSAlert alert;
    alert.setMessageText("Move to Applications folder");
    const std::string name =
        RunningApplication::currentApplication()->localizedName().value_or("The App");
    std::string informative =
        name + " needs to move to your Applications folder in order to work properly.";
    if (needsAuthentication)
        informative +=
            " You need to authenticate with your administrator password to complete "
            "this step.";
    alert.setInformativeText(std::move(informative));
    alert.addButtonWithTitle("Move to Applications Folder");
    alert.addButtonWithTitle("Do Not Move");
    if (alert.runModal() != NSAlertFirstButtonReturn)
        return Pass::done;
    // Refused before anything is touched: with a password, as a refused authorized install
    // is (the application terminates); without, as a failed copy is (it goes on running).
    if (!isBundleName(source.lastPathComponent())) {
        if (needsAuthentication)
            application.terminate();
        return Pass::done;
    }

    if (needsAuthentication) {
        const auto [cancelled, success] = AppMover::authorizedInstall(source, destination);
        if (cancelled)
            return Pass::again;
        if (!success) {
            application.terminate();
            return Pass::done;
        }
    } else {
        if (files.fileExistsAtPath(destination.path())) {
            if (AppMover::isApplicationRunning(destination)) {
                Workspace::shared().open(destination);
                return Pass::done;
            }
            if (!files.trashItemAtURL(destination, nullptr))
                return Pass::done;
        }
        if (!files.copyItemAtURL(source, destination))
            return Pass::done;
    }

    // A source that cannot be removed stays behind; the copy is what relaunches.
    (void)files.removeItemAtURL(source);
    AppMover::relaunch(destination.path(),
                       [] { runtime().mainQueue().async([] { exitProcess(0); }); });
    return Pass::done;
}

}  // namespace

void AppMover::moveToApplicationsIfNeeded() {
    // Each cancelled password prompt brings the alert back through a new pass, one after the
    // other, so that any number of cancels takes the stack of one pass.
    while (offerMove() == Pass::again) {
    }
}

bool AppMover::isInstalled(const Bundle& bundle) {
    const std::string& path = bundle.bundlePath();
    for (const auto& directory :
         NSSearchPathForDirectoriesInDomains(SearchPathDirectory::applicationDirectory,
                                             SearchPathDomainMask::allDomainsMask, true)) {
        if (path.starts_with(directory))
            return true;
    }
    std::size_t begin = 0;
    while (begin < path.size()) {
        const std::size_t slash = std::min(path.find('/', begin), path.size());
        if (path.compare(begin, slash - begin, "Applications") == 0)
            return true;
        begin = slash + 1;
    }
    return false;
}

std::optional<URL> AppMover::preferredInstallDirectory() {
    auto& files = FileManager::defaultManager();
    std::vector<std::pair<URL, int>> candidates;  // with their entry counts
    for (const auto& url : files.URLsForDirectory(SearchPathDirectory::applicationDirectory,
                                                  SearchPathDomainMask::allDomainsMask)) {
        URL resolved = url.URLByResolvingSymlinksInPath();
        bool isDirectory = false;
        if (files.fileExistsAtPath(resolved.path(), &isDirectory) && isDirectory &&
            resolved.path() != kSystemApplications) {
            const int count = directoryEntryCount(resolved);
            candidates.emplace_back(std::move(resolved), count);
        }
    }
    if (candidates.empty())
        return std::nullopt;
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const auto& a, const auto& b) { return a.second < b.second; });
    return candidates.back().first;
}

int AppMover::directoryEntryCount(const URL& url) {
    const auto names = FileManager::defaultManager().contentsOfDirectoryAtPath(url.path());
    return names ? static_cast<int>(names->size()) : 0;
}

bool AppMover::isApplicationRunning(const URL& url) {
    const URL wanted = url.standardizedURL();
    const auto running = Workspace::shared().runningApplications();
    return std::any_of(running.begin(), running.end(), [&](const RunningApplicationRef& app) {
        return app->bundleURL() && app->bundleURL()->standardizedURL() == wanted;
    });
}

AppMover::InstallResult AppMover::authorizedInstall(const URL& source, const URL& destination) {
    const std::string from = source.path();
    const std::string to = destination.path();
    if (destination.pathExtension() != "app" || trimmed(from).empty() || trimmed(to).empty())
        return {false, false};
    // A path the script cannot carry refuses the move as a bad path does above.
    const auto command =
        appleScriptStringBody("rm -rf " + shellSingleQuoted(to) + " && cp -pR " +
                              shellSingleQuoted(from) + " " + shellSingleQuoted(to));
    if (!command)
        return {false, false};
    const auto script = NSAppleScript::initWithSource("do shell script \"" + *command +
                                                      "\" with administrator privileges");
    if (!script)
        return {false, false};
    PlistDictionary error;
    if (script->executeAndReturnError(&error))
        return {false, true};
    const auto number = error.find(NSAppleScriptErrorNumber);
    const bool cancelled = number != error.end() && number->second.number() != nullptr &&
                           *number->second.number() == kUserCancelledError;
    return {cancelled, false};
}

void AppMover::relaunch(const std::string& path, std::function<void()> completion) {
    const int pid = ProcessInfo::processInfo().processIdentifier();
    runTask("/usr/bin/xattr", {"-d", "-r", "com.apple.quarantine", path},
            [pid, path, completion = std::move(completion)](int) {
                // Output goes to /dev/null the POSIX way, which every /bin/sh reads.
                runTask("/bin/sh",
                        {"-c", "(while /bin/kill -0 " + std::to_string(pid) +
                                   " >/dev/null 2>&1; do /bin/sleep 0.1; done; /usr/bin/open \"" +
                                   shellDoubleQuoteEscaped(path) + "\") &"},
                        nullptr);
                if (completion)
                    completion();
            });
}

void AppMover::runTask(const std::string& launchPath, const std::vector<std::string>& arguments,
                       std::function<void(int)> terminationHandler) {
    Process task;
    task.setLaunchPath(launchPath);
    task.setArguments(arguments);
    task.setTerminationHandler(std::move(terminationHandler));
    task.launch();
}

}  // namespace corvane
