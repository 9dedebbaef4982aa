#include "scroll/AnimationFunctions.h"

#include <cmath>

namespace corvane {

double AnimationFunctions::viscousFluid(double x) {
    if (x < 0) {
        return 0;
    }
    if (x > 1) {
        return 1;
    }
    // A linear run-up that blends into an exponential approach; the constants are e^-1 and
    // 1 - e^-1, so both branches meet at u = 1.
    const double u = 3 * x;
    const double raw = u < 1 ? u - (1 - std::exp(-u))
                             : 0.36787944117144233 + (1 - std::exp(-(u - 1))) * 0.6321205588285577;
    return raw * normalization;
}

}  // namespace corvane
