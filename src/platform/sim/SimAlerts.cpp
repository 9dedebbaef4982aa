#include "platform/sim/SimAlerts.h"

#include <algorithm>

#include "platform/runtime/Runtime.h"
#include "platform/sim/QuotedText.h"

namespace corvane::platform::sim {

void Alerts::queueAnswer(std::string buttonTitle) {
    std::lock_guard lock(mutex_);
    answers_.push_back(std::move(buttonTitle));
}

std::size_t Alerts::runModal(const NSAlert& alert) {
    std::lock_guard lock(mutex_);
    const auto& buttons = alert.buttonTitles();
    std::string offered;
    for (const auto& title : buttons)
        offered += (offered.empty() ? "" : ", ") + quotedText(title);
    const std::string named =
        "the alert " + quotedText(alert.messageText()) + " (buttons " + offered + ")";
    if (answers_.empty())
        throw UnscriptedInput(named + " appeared with no answer given");
    std::string title = std::move(answers_.front());
    answers_.pop_front();
    const auto button = std::find(buttons.begin(), buttons.end(), title);
    if (button == buttons.end())
        throw UnscriptedInput(named + " has no button " + quotedText(title));
    shown_.push_back(
        {runtime().mediaTime(), alert.messageText(), alert.informativeText(), buttons, title});
    return static_cast<std::size_t>(button - buttons.begin());
}

std::vector<ShownAlert> Alerts::shown() const {
    std::lock_guard lock(mutex_);
    return shown_;
}

}  // namespace corvane::platform::sim
