#pragma once

#include <functional>
#include <utility>

#include "platform/foundation/ProcessInfo.h"
#include "platform/ui/View.h"

namespace corvane {

/// Runs `action` with the new value each time `value` differs from the one seen at the
/// previous update of the view, never when the view is first shown: through the change
/// observer of macOS 14 (old and new value, no initial run) on macOS 14 and later, through
/// the older single-value observer before. Used with the picker's optional selection and
/// with switch values.
template <class T>
platform::ui::View onChangeCompat(const platform::ui::View& view, T value,
                                  std::function<void(const T&)> action) {
    if (platform::isAvailable(14)) {
        return view.onChange<T>(
            std::move(value), false,
            [action = std::move(action)](const T&, const T& newValue) { action(newValue); });
    }
    return view.onChange<T>(std::move(value), std::move(action));
}

}  // namespace corvane
