#pragma once

#include <functional>
#include <memory>
#include <string_view>

#include "platform/appkit/NSButton.h"
#include "platform/foundation/NSObject.h"
#include "platform/ui/View.h"

namespace corvane {

/// The platform's round help button (a question mark) for declarative views; a click runs
/// `action`. Main thread only.
struct NativeHelpButton {
    /// The target of the button's action: it runs the action it was made with.
    class Coordinator final : public platform::NSObject {
      public:
        explicit Coordinator(std::function<void()> onClick) : action(std::move(onClick)) {}

        bool respondsToSelector(std::string_view selector) const override {
            return selector == "onAction";
        }
        bool performSelector(std::string_view selector) override;
        /// Runs `action`.
        void onAction() const;

        std::function<void()> action;
    };

    std::function<void()> action;

    std::shared_ptr<Coordinator> makeCoordinator() const;
    std::shared_ptr<platform::NSView> makeNSView(
        platform::ui::RepresentableContext<Coordinator>& context) const;
};

}  // namespace corvane
