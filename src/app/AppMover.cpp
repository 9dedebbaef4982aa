#include "app/AppMover.h"

namespace corvane {

void AppMover::moveToApplicationsIfNeeded() {}

}  // namespace corvane
