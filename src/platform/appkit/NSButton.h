#pragma once

#include <functional>
#include <string>

#include "platform/appkit/NSView.h"

namespace corvane::platform {

enum class NSBezelStyle : int { push = 1, helpButton = 9 };
enum class NSButtonType : int { momentaryLight = 0, momentaryPushIn = 7 };

/// A platform push button. Its action runs on the main thread when it is clicked.
class NSButton : public NSView {
  public:
    NSButton();

    const std::string& title() const { return title_; }
    void setTitle(std::string title);
    NSBezelStyle bezelStyle() const { return bezelStyle_; }
    /// `helpButton` draws the round button with a question mark.
    void setBezelStyle(NSBezelStyle style);
    NSButtonType buttonType() const { return buttonType_; }
    void setButtonType(NSButtonType type) { buttonType_ = type; }
    /// What a click runs (the target's action).
    void setAction(std::function<void()> action) { action_ = std::move(action); }
    /// Clicks the button as the user would.
    void performClick();

    CGSize intrinsicContentSize() const override;

  private:
    std::string title_;
    NSBezelStyle bezelStyle_ = NSBezelStyle::push;
    NSButtonType buttonType_ = NSButtonType::momentaryLight;
    std::function<void()> action_;
};

}  // namespace corvane::platform
