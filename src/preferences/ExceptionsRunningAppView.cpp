#include "preferences/ExceptionsRunningAppView.h"

#include <algorithm>
#include <vector>

#include "preferences/ExceptionsView.h"
#include "preferences/OnChangeCompat.h"
#include "settings/SettingsManager.h"

namespace corvane {

using namespace platform::ui;

namespace {

constexpr double kBrowsePadding = 4;  ///< points on every side of "Browse..."

/// Whether an exception of the current settings has `bundleIdentifier`.
bool isExcepted(const std::string& bundleIdentifier) {
    const auto& exceptions =
        SettingsManager::shared().settings().appSettings.exceptionalApplication;
    return std::any_of(exceptions.begin(), exceptions.end(),
                       [&](const auto& e) { return e->bundleId() == bundleIdentifier; });
}

}  // namespace

View ExceptionsRunningAppView::body() const {
    std::vector<View> rows{Text("Browse...")
                               .font(Font::title3())
                               .fontWeight(Font::Weight::semibold)
                               .padding(kBrowsePadding)
                               .tag(kBrowse)};
    for (const auto& app : ExceptionsView::runningApplicationCandidates()) {
        const std::string& bundleIdentifier = *app->bundleIdentifier();
        if (isExcepted(bundleIdentifier))
            continue;
        std::vector<View> row;
        if (app->icon())
            row.push_back(Image(*app->icon()).resizable().frame(kIconSize, kIconSize));
        row.push_back(Text(Verbatim{app->localizedName().value_or(bundleIdentifier)}));
        row.push_back(Spacer());
        rows.push_back(HStack(std::move(row)).tag(bundleIdentifier));
    }
    const auto select = onSelect;
    return onChangeCompat<std::optional<std::string>>(
        List(selectedApp.binding(), std::move(rows)).listStyle(ListStyle::plain), selectedApp.get(),
        [select](const std::optional<std::string>& chosen) {
            if (chosen && select)
                select(*chosen);
        });
}

}  // namespace corvane
