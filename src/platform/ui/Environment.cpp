#include "platform/ui/Environment.h"

#include "platform/appkit/Workspace.h"

namespace corvane::platform::ui {

void openURLWithWorkspace(const URL& url) {
    (void)Workspace::shared().open(url);
}

}  // namespace corvane::platform::ui
