#pragma once

#include <memory>
#include <string>
#include <vector>

namespace corvane::platform {

/// Which button ended a modal alert.
using NSModalResponse = long;
constexpr NSModalResponse NSAlertFirstButtonReturn = 1000;
constexpr NSModalResponse NSAlertSecondButtonReturn = 1001;
constexpr NSModalResponse NSAlertThirdButtonReturn = 1002;

/// A modal alert: a message, an informative text under it and its buttons, the first of them
/// the default one. Main thread.
class NSAlert {
  public:
    const std::string& messageText() const { return messageText_; }
    void setMessageText(std::string text) { messageText_ = std::move(text); }
    const std::string& informativeText() const { return informativeText_; }
    void setInformativeText(std::string text) { informativeText_ = std::move(text); }
    /// Adds a button after those already there.
    void addButtonWithTitle(std::string title) { buttons_.push_back(std::move(title)); }
    const std::vector<std::string>& buttonTitles() const { return buttons_; }

    /// Shows the alert and waits for the user's answer: `NSAlertFirstButtonReturn` for the
    /// first button, the next value for the second, and so on. An alert without buttons gets
    /// one, "OK".
    NSModalResponse runModal();

  private:
    std::string messageText_;
    std::string informativeText_;
    std::vector<std::string> buttons_;
};

/// What shows alerts and hands back the user's answer.
class AlertBackend {
  public:
    virtual ~AlertBackend() = default;
    /// The index of the button the user chose among `alert.buttonTitles()`.
    virtual std::size_t runModal(const NSAlert& alert) = 0;
};

/// Installs the alert backend of the process.
void installAlertBackend(std::shared_ptr<AlertBackend> backend);

}  // namespace corvane::platform
