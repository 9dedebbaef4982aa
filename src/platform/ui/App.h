#pragma once

#include <memory>

namespace corvane::platform::ui {

/// The field of an application value that creates its application delegate, of type
/// `Delegate`, when the value is made, and owns it for as long as the value lives. The
/// application value hands the delegate to the application object before launching.
template <class Delegate>
class NSApplicationDelegateAdaptor {
  public:
    NSApplicationDelegateAdaptor() : delegate_(std::make_shared<Delegate>()) {}

    /// The delegate the adaptor created.
    Delegate& wrappedValue() const { return *delegate_; }

  private:
    std::shared_ptr<Delegate> delegate_;
};

}  // namespace corvane::platform::ui
