#include "preferences/ForegroundStyleCompat.h"

#include "platform/foundation/ProcessInfo.h"

namespace corvane {

using platform::ui::Color;
using platform::ui::View;

View foregroundStyleCompat(const View& view, Color color) {
    if (platform::isAvailable(14))
        return view.foregroundStyle(color);
    return view.foregroundColor(color);
}

Color dimmedTextColor() {
    return platform::isAvailable(12) ? Color::secondary() : Color::gray();
}

}  // namespace corvane
