#include "settings/Utils.h"

#include <algorithm>
#include <array>
#include <unordered_map>

#include "platform/appkit/Workspace.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/URL.h"
#include "platform/process/Libproc.h"
#include "platform/runtime/Runtime.h"
#include "settings/Logger.h"

namespace corvane {

namespace {

/// The refresh period of the running-application cache, seconds; a refresh needs strictly
/// more than this since the last one.
constexpr double kRunningApplicationCachePeriod = 60.0;

// The running-application cache: created empty on first use, kept for the process's life,
// touched on the main thread only.
std::unordered_map<std::string, platform::RunningApplicationRef>& cachedApplications() {
    static auto* table = new std::unordered_map<std::string, platform::RunningApplicationRef>();
    return *table;
}

/// Seconds since 1970 of each identifier's last refresh.
std::unordered_map<std::string, double>& lastRefreshTimes() {
    static auto* table = new std::unordered_map<std::string, double>();
    return *table;
}

void appendReplacementCharacter(std::string& out) {
    out += "\xEF\xBF\xBD";
}

bool openIfPossible(const std::string& text) {
    auto url = platform::URL::fromString(text);
    return url && platform::Workspace::shared().open(*url);
}

}  // namespace

std::string Utils::decodeUTF8Lossy(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            out += bytes[i++];
            continue;
        }
        std::size_t length = 0;
        unsigned char secondLow = 0x80;
        unsigned char secondHigh = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0)
                secondLow = 0xA0;
            if (lead == 0xED)
                secondHigh = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0)
                secondLow = 0x90;
            if (lead == 0xF4)
                secondHigh = 0x8F;
        }
        if (length == 0) {
            appendReplacementCharacter(out);
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        for (; j < i + length && j < n; ++j) {
            const auto b = static_cast<unsigned char>(bytes[j]);
            const unsigned char low = j == i + 1 ? secondLow : 0x80;
            const unsigned char high = j == i + 1 ? secondHigh : 0xBF;
            if (b < low || b > high)
                break;
        }
        if (j == i + length) {
            out.append(bytes, i, length);
        } else {
            appendReplacementCharacter(out);
        }
        i = j;
    }
    return out;
}

Utils::ApplicationInfo Utils::applicationInfo(const std::string& bundleIdentifier) {
    auto& workspace = platform::Workspace::shared();
    auto url = workspace.urlForApplication(bundleIdentifier);
    if (!url)
        return {bundleIdentifier, std::nullopt};

    platform::Image icon = workspace.iconForFile(url->path());
    auto bundle = platform::Bundle::atURL(*url);
    if (bundle) {
        if (auto displayName = bundle->infoString("CFBundleDisplayName")) {
            return {*displayName, icon};
        }
    }
    std::string name = url->deletingPathExtension().lastPathComponent();
    if (name.empty() && bundle) {
        if (auto bundleName = bundle->infoString("CFBundleName"))
            name = *bundleName;
    }
    return {name, icon};
}

platform::RunningApplicationRef Utils::runningApplication(const std::string& bundleIdentifier) {
    const double now = platform::runtime().wallTime();
    auto& applications = cachedApplications();
    auto& refreshed = lastRefreshTimes();
    auto last = refreshed.find(bundleIdentifier);
    const double lastRefresh = last == refreshed.end() ? 0.0 : last->second;
    if (now - lastRefresh > kRunningApplicationCachePeriod) {
        auto running = platform::RunningApplication::runningApplications(bundleIdentifier);
        if (running.empty()) {
            applications.erase(bundleIdentifier);
        } else {
            applications.insert_or_assign(bundleIdentifier, running.front());
        }
        refreshed.insert_or_assign(bundleIdentifier, now);
    }
    auto cached = applications.find(bundleIdentifier);
    return cached == applications.end() ? nullptr : cached->second;
}

bool Utils::isModifierPressed(const platform::CGEventRef& event,
                              const std::vector<std::uint16_t>& keyCodes,
                              platform::CGEventFlags mask) {
    if (!event)
        return false;
    const std::int64_t keyCode =
        platform::CGEventGetIntegerValueField(event, platform::kCGKeyboardEventKeycode);
    // Compared as 64-bit values, so that a field outside 0...65535 matches no key code.
    const bool listed = std::any_of(keyCodes.begin(), keyCodes.end(), [keyCode](std::uint16_t c) {
        return static_cast<std::int64_t>(c) == keyCode;
    });
    if (!listed)
        return false;
    return (platform::CGEventGetFlags(event) & mask) != 0;
}

std::string Utils::processPath(platform::pid_t pid) {
    std::array<char, platform::PROC_PIDPATHINFO_MAXSIZE> buffer{};
    const int length = platform::proc_pidpath(pid, buffer.data(), buffer.size());
    if (length < 1)
        return {};
    const auto end = std::find(buffer.begin(), buffer.end(), '\0');
    return decodeUTF8Lossy(std::string(buffer.begin(), end));
}

void Utils::openAccessibilitySettings() {
    if (openIfPossible("x-apple.systempreferences:com.apple.preference.security?"
                       "Privacy_Accessibility")) {
        return;
    }
    if (openIfPossible("x-apple.systempreferences:com.apple.preference.universalaccess")) {
        return;
    }
    (void)platform::Workspace::shared().open(platform::URL::fileURLWithPath(
        "/System/Library/PreferencePanes/UniversalAccessPref.prefPane"));
}

void Utils::terminateOtherInstances() {
    const auto& bundleIdentifier = platform::Bundle::main().bundleIdentifier();
    if (!bundleIdentifier)
        return;
    if (platform::RunningApplication::runningApplications(*bundleIdentifier).size() < 2)
        return;
    auto instances = platform::RunningApplication::runningApplications(*bundleIdentifier);
    if (instances.empty())
        return;  // they quit between the two questions
    const auto& first = instances.front();
    first->terminate();
    Logger::general().log("Terminate instance: %{public}d", first->processIdentifier());
}

}  // namespace corvane
