#include "scroll/ModifierKeyGroup.h"

#include <algorithm>

namespace corvane {

const ModifierKeyGroup ModifierKeyGroup::command{{55, 54}, platform::kCGEventFlagMaskCommand};
const ModifierKeyGroup ModifierKeyGroup::control{{59, 62}, platform::kCGEventFlagMaskControl};
const ModifierKeyGroup ModifierKeyGroup::option{{58, 61}, platform::kCGEventFlagMaskAlternate};
const ModifierKeyGroup ModifierKeyGroup::shift{{56, 60}, platform::kCGEventFlagMaskShift};

const ModifierKeyGroup* ModifierKeyGroup::containing(std::int64_t keyCode) {
    for (const ModifierKeyGroup* group : {&command, &control, &option, &shift}) {
        if (std::any_of(group->keyCodes.begin(), group->keyCodes.end(),
                        [keyCode](std::uint16_t c) { return c == keyCode; })) {
            return group;
        }
    }
    return nullptr;
}

}  // namespace corvane
