#pragma once

#include <deque>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/appkit/NSAlert.h"

namespace corvane::platform::sim {

/// Input the session was asked for but that no test or scenario scripted (an alert with no
/// answer, a password prompt with no outcome). It ends the run: the session cannot guess
/// what a user would do.
class UnscriptedInput : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// One alert the session showed.
struct ShownAlert {
    double mediaTime = 0;
    std::string messageText;
    std::string informativeText;
    std::vector<std::string> buttons;
    std::string answer;  ///< the title of the button chosen

    bool operator==(const ShownAlert&) const = default;
};

/// The simulated session's modal alerts: each one takes the oldest answer given beforehand
/// (a button title) and is recorded.
class Alerts final : public AlertBackend {
  public:
    /// The knob: the next alert is answered with the button titled `buttonTitle`.
    void queueAnswer(std::string buttonTitle);
    /// Answers an alert: the index of the queued answer among its buttons. Throws
    /// `UnscriptedInput` when no answer was given or the alert has no such button.
    std::size_t runModal(const NSAlert& alert) override;
    /// Every alert answered, in order.
    std::vector<ShownAlert> shown() const;

  private:
    mutable std::mutex mutex_;
    std::deque<std::string> answers_;
    std::vector<ShownAlert> shown_;
};

}  // namespace corvane::platform::sim
