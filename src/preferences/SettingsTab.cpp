#include "preferences/SettingsTab.h"

namespace corvane {

std::string label(SettingsTab tab) {
    switch (tab) {
        case SettingsTab::general:
            return "General";
        case SettingsTab::scrolling:
            return "Scrolling";
        case SettingsTab::exceptions:
            return "Exceptions";
        case SettingsTab::updates:
            return "Updates";
    }
    return {};
}

std::string symbolName(SettingsTab tab) {
    switch (tab) {
        case SettingsTab::general:
            return "gearshape";
        case SettingsTab::scrolling:
            return "slider.horizontal.3";
        case SettingsTab::exceptions:
            return "minus.circle";
        case SettingsTab::updates:
            return "arrow.2.circlepath";
    }
    return {};
}

}  // namespace corvane
