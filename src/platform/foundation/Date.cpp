#include "platform/foundation/Date.h"

#include "platform/runtime/Runtime.h"

namespace corvane::platform {

Date Date::now() {
    return Date{runtime().wallTime()};
}

}  // namespace corvane::platform
