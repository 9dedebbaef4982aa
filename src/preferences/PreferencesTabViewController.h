#pragma once

#include "platform/appkit/NSViewController.h"

namespace corvane {

/// The content of the settings window, opened through the window registry under
/// "preferences" with the title "Corvane Settings". For now its view is empty.
class PreferencesTabViewController : public platform::NSViewController {};

}  // namespace corvane
