#include "platform/sim/SimOpenPanels.h"

#include "platform/runtime/Runtime.h"
#include "platform/sim/QuotedText.h"
#include "platform/sim/SimAlerts.h"

namespace corvane::platform::sim {

void OpenPanels::queueChoice(std::string path) {
    std::lock_guard lock(mutex_);
    answers_.emplace_back(std::move(path));
}

void OpenPanels::queueCancel() {
    std::lock_guard lock(mutex_);
    answers_.emplace_back(std::nullopt);
}

std::optional<std::vector<URL>> OpenPanels::runModal(const NSOpenPanel& panel) {
    std::lock_guard lock(mutex_);
    if (answers_.empty()) {
        throw UnscriptedInput("the open panel " + quotedText(panel.title()) +
                              " appeared with no choice or cancel given");
    }
    std::optional<std::string> answer = std::move(answers_.front());
    answers_.pop_front();
    std::optional<std::string> directory;
    if (panel.directoryURL())
        directory = panel.directoryURL()->path();
    shown_.push_back({runtime().mediaTime(), panel.title(), directory, answer});
    if (!answer)
        return std::nullopt;
    return std::vector<URL>{URL::fileURLWithPath(*answer)};
}

std::vector<ShownOpenPanel> OpenPanels::shown() const {
    std::lock_guard lock(mutex_);
    return shown_;
}

}  // namespace corvane::platform::sim
