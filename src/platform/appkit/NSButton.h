#pragma once

#include <string>

#include "platform/appkit/NSView.h"
#include "platform/foundation/NSObject.h"

namespace corvane::platform {

enum class NSBezelStyle : int { push = 1, helpButton = 9 };
enum class NSButtonType : int { momentaryLight = 0, momentaryPushIn = 7 };

/// A platform push button. A click sends its action to its target, on the main thread.
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
    /// The object a click sends the action to, not owned (whoever made the button keeps it
    /// alive as long as the button); null: none.
    NSObject* target() const { return target_; }
    void setTarget(NSObject* target) { target_ = target; }
    const Selector& action() const { return action_; }
    void setAction(Selector action) { action_ = std::move(action); }
    /// Clicks the button as the user would: the target performs the action.
    void performClick();

    CGSize intrinsicContentSize() const override;
    /// The round help button, which shows no title, reads as "Help".
    std::string accessibilityLabel() const override {
        return bezelStyle_ == NSBezelStyle::helpButton && title_.empty() ? "Help" : std::string();
    }

  private:
    std::string title_;
    NSBezelStyle bezelStyle_ = NSBezelStyle::push;
    NSButtonType buttonType_ = NSButtonType::momentaryLight;
    NSObject* target_ = nullptr;
    Selector action_;
};

}  // namespace corvane::platform
