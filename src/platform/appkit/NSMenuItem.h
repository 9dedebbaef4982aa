#pragma once

#include <any>
#include <memory>
#include <optional>
#include <string>

#include "platform/appkit/Event.h"
#include "platform/appkit/NSImage.h"
#include "platform/foundation/NSObject.h"

namespace corvane::platform {

/// The state of a menu item's check mark.
using NSControlStateValue = int;
constexpr NSControlStateValue NSControlStateValueMixed = -1;
constexpr NSControlStateValue NSControlStateValueOff = 0;
constexpr NSControlStateValue NSControlStateValueOn = 1;

class NSMenu;

/// One row of a menu: a command (title, action sent to a target, key equivalent, check
/// mark, image) or a separator. Main thread only.
class NSMenuItem {
  public:
    /// A command titled `title` that sends `action` (empty: none); `keyEquivalent` is the
    /// key that chooses it with Command held (empty: none).
    NSMenuItem(std::string title, Selector action, std::string keyEquivalent);
    NSMenuItem(const NSMenuItem&) = delete;
    NSMenuItem& operator=(const NSMenuItem&) = delete;

    /// A separator line: no title, no action, never enabled.
    static std::shared_ptr<NSMenuItem> separatorItem();
    bool isSeparatorItem() const { return separator_; }

    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    const Selector& action() const { return action_; }
    void setAction(Selector action) { action_ = std::move(action); }
    /// The object the action is sent to, not owned (it outlives the item); null: none.
    NSObject* target() const { return target_; }
    void setTarget(NSObject* target) { target_ = target; }
    const std::string& keyEquivalent() const { return keyEquivalent_; }
    void setKeyEquivalent(std::string key) { keyEquivalent_ = std::move(key); }
    /// The modifiers held with the key equivalent; Command unless changed.
    NSEventModifierFlags keyEquivalentModifierMask() const { return keyEquivalentModifierMask_; }
    void setKeyEquivalentModifierMask(NSEventModifierFlags mask) {
        keyEquivalentModifierMask_ = mask;
    }
    /// Whatever its owner attaches to the item; empty by default.
    const std::any& representedObject() const { return representedObject_; }
    void setRepresentedObject(std::any object) { representedObject_ = std::move(object); }
    const std::string& identifier() const { return identifier_; }
    void setIdentifier(std::string identifier) { identifier_ = std::move(identifier); }
    /// The check mark; off by default.
    NSControlStateValue state() const { return state_; }
    void setState(NSControlStateValue state) { state_ = state; }
    const std::optional<NSImage>& image() const { return image_; }
    void setImage(std::optional<NSImage> image) { image_ = std::move(image); }
    /// A hidden item is not shown and cannot be chosen.
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden) { hidden_ = hidden; }
    /// Whether the item can be chosen. In a menu that enables its items automatically, the
    /// menu sets it each time it is updated.
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }

    /// The menu the item is in, or null.
    NSMenu* menu() const { return menu_; }

  private:
    friend class NSMenu;
    std::string title_;
    Selector action_;
    NSObject* target_ = nullptr;
    std::string keyEquivalent_;
    NSEventModifierFlags keyEquivalentModifierMask_ = NSEventModifierFlagCommand;
    std::any representedObject_;
    std::string identifier_;
    NSControlStateValue state_ = NSControlStateValueOff;
    std::optional<NSImage> image_;
    bool hidden_ = false;
    bool enabled_ = true;
    bool separator_ = false;
    NSMenu* menu_ = nullptr;
};

}  // namespace corvane::platform
