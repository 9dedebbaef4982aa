#pragma once

#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/NSOpenPanel.h"

namespace corvane::platform::sim {

/// One open panel the session showed.
struct ShownOpenPanel {
    double mediaTime = 0;
    std::string title;
    std::optional<std::string> directory;  ///< the path it opened in
    std::optional<std::string> chosen;     ///< the path chosen; none: cancelled

    bool operator==(const ShownOpenPanel&) const = default;
};

/// The simulated session's open panels: each one takes the oldest answer given beforehand
/// (a path to choose, or a cancel) and is recorded.
class OpenPanels final : public OpenPanelBackend {
  public:
    /// The knob: the next open panel chooses the item at the absolute session `path`.
    void queueChoice(std::string path);
    /// The knob: the user cancels the next open panel.
    void queueCancel();
    /// Answers a panel with the oldest queued answer. Throws `UnscriptedInput` when none was
    /// given.
    std::optional<std::vector<URL>> runModal(const NSOpenPanel& panel) override;
    /// Every open panel answered, in order.
    std::vector<ShownOpenPanel> shown() const;

  private:
    mutable std::mutex mutex_;
    std::deque<std::optional<std::string>> answers_;
    std::vector<ShownOpenPanel> shown_;
};

}  // namespace corvane::platform::sim
