#include "preferences/ExceptionsView.h"

#include <algorithm>
#include <utility>

#include "platform/appkit/NSOpenPanel.h"
#include "platform/appkit/Workspace.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileManager.h"
#include "preferences/ExceptionsAdvancedView.h"
#include "preferences/ExceptionsRunningAppView.h"
#include "preferences/SettingsPopover.h"
#include "settings/Utils.h"

namespace corvane {

using namespace platform::ui;

namespace {

constexpr double kEnableSmoothTrailingPadding = 136;  ///< points after "Enable smooth"
constexpr double kControlGroupSpacing = 120;          ///< points between switch and gear
constexpr double kButtonSymbolSize = 12;              ///< points, the add and remove symbols
constexpr double kButtonRowTopPadding = 4;            ///< points

/// The position of the first exception with `bundleIdentifier`, or the end.
auto findException(std::vector<ExceptionalApplicationRef>& list,
                   const std::string& bundleIdentifier) {
    return std::find_if(list.begin(), list.end(), [&](const ExceptionalApplicationRef& e) {
        return e->bundleId() == bundleIdentifier;
    });
}

}  // namespace

std::vector<platform::RunningApplicationRef> ExceptionsView::runningApplicationCandidates() {
    std::vector<platform::RunningApplicationRef> candidates;
    for (auto& app : platform::Workspace::shared().runningApplications()) {
        if (app->bundleIdentifier() &&
            app->activationPolicy() == platform::ActivationPolicy::regular)
            candidates.push_back(std::move(app));
    }
    auto key = [](const platform::RunningApplicationRef& app) {
        return app->localizedName().value_or(app->bundleIdentifier().value_or(std::string()));
    };
    std::stable_sort(candidates.begin(), candidates.end(),
                     [&](const auto& a, const auto& b) { return key(a) < key(b); });
    return candidates;
}

void ExceptionsView::addIfAbsent(const std::string& bundleIdentifier) const {
    SettingsManager& store = *settingsManager;
    CorvaneSettings settings = store.settings();
    auto& list = settings.appSettings.exceptionalApplication;
    if (findException(list, bundleIdentifier) != list.end())
        return;
    // A new list with the exception at its head, the former entries after it.
    std::vector<ExceptionalApplicationRef> added{
        std::make_shared<ExceptionalApplication>(bundleIdentifier)};
    added.insert(added.end(), list.begin(), list.end());
    list = std::move(added);
    store.setSettings(std::move(settings));
    store.save();
}

void ExceptionsView::addExceptionalApplication(const std::string& identifier) const {
    if (identifier == ExceptionsRunningAppView::kBrowse) {
        browseForApplication();
        return;
    }
    addIfAbsent(identifier);
    isShowingPopover.set(false);
}

void ExceptionsView::browseForApplication() const {
    platform::NSOpenPanel panel;
    panel.setTitle("Select an Application");
    const auto directories = platform::FileManager::defaultManager().URLsForDirectory(
        platform::SearchPathDirectory::applicationDirectory,
        platform::SearchPathDomainMask::localDomainMask);
    if (!directories.empty())
        panel.setDirectoryURL(directories.front());
    panel.setCanChooseDirectories(false);
    panel.setCanChooseFiles(true);
    panel.setAllowsMultipleSelection(false);
    if (panel.runModal() != platform::NSModalResponseOK)
        return;
    const auto url = panel.URL();
    if (!url)
        return;
    const auto bundle = platform::Bundle::atURL(*url);
    if (!bundle || !bundle->bundleIdentifier())
        return;
    addIfAbsent(*bundle->bundleIdentifier());
}

void ExceptionsView::removeSelectedApplication() const {
    const std::optional<std::string> selected = selectedApp.get();
    if (!selected)
        return;
    SettingsManager& store = *settingsManager;
    CorvaneSettings settings = store.settings();
    auto& list = settings.appSettings.exceptionalApplication;
    const auto found = findException(list, *selected);
    if (found == list.end())
        return;
    list.erase(found);
    store.setSettings(std::move(settings));
    store.save();
    selectedApp.set(std::nullopt);
}

View ExceptionsView::row(const ExceptionalApplicationRef& exception) const {
    const Utils::ApplicationInfo info = Utils::applicationInfo(exception->bundleId());
    std::vector<View> items;
    if (info.icon)
        items.push_back(Image(*info.icon).resizable().frame(kIconSize, kIconSize));
    items.push_back(Text(Verbatim{info.name}));
    items.push_back(Spacer());

    // The bindings hold the exception, so that they stay valid however the list
    // changes.
    Binding<bool> smooth([exception] { return exception->scrollBase().smooth; },
                         [exception](bool on) {
                             ScrollBase base = exception->scrollBase();
                             base.smooth = on;
                             exception->setScrollBase(base);
                         });
    Binding<ScrollAdvanced> scrollAdvanced(
        [exception] { return exception->scrollAdvanced(); },
        [exception](ScrollAdvanced value) { exception->setScrollAdvanced(std::move(value)); });
    Binding<bool> inherit([exception] { return exception->inherit(); },
                          [exception](bool value) { exception->setInherit(value); });
    items.push_back(
        HStack(VerticalAlignment::center, kControlGroupSpacing,
               {Toggle("", std::move(smooth)),
                ExceptionsAdvancedView{false, std::move(scrollAdvanced), std::move(inherit),
                                       exception->bundleId(), *exception}}));
    return HStack(std::move(items)).tag(exception->bundleId());
}

View ExceptionsView::body() const {
    const ExceptionsView self = *this;
    // One row per exception, in list order, tagged by its bundle identifier.
    auto rows = ForEach(
        settingsManager->settings().appSettings.exceptionalApplication,
        [](const ExceptionalApplicationRef& exception) -> const std::string& {
            return exception->bundleId();
        },
        [self](const ExceptionalApplicationRef& exception) { return self.row(exception); });

    const auto popover = isShowingPopover;
    View add = Button(SystemImage("plus").frame(kButtonSymbolSize, kButtonSymbolSize), [popover] {
                   popover.set(!popover.get());
               }).popover(isShowingPopover.binding(), settingsPopoverArrowEdge(), [self] {
        return View(ExceptionsRunningAppView{
            [self](const std::string& id) { self.addExceptionalApplication(id); }, {}});
    });
    View remove = Button(SystemImage("minus").frame(kButtonSymbolSize, kButtonSymbolSize), [self] {
                      self.removeSelectedApplication();
                  }).disabled(!selectedApp.get().has_value());

    return VStack({GroupBox(
        HStack({Text("Application"), Spacer(),
                Text("Enable smooth")
                    .padding(Edges::of(Edge::trailing), kEnableSmoothTrailingPadding)}),
        VStack(HorizontalAlignment::center, 0,
               {List(selectedApp.binding(), std::move(rows)).frame(std::nullopt, kListHeight),
                HStack({std::move(add), std::move(remove), Spacer()})
                    .padding(Edges::of(Edge::top), kButtonRowTopPadding)}))});
}

}  // namespace corvane
