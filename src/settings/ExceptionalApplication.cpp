#include "settings/ExceptionalApplication.h"

#include "settings/SettingsManager.h"

namespace corvane {

ExceptionalApplication::ExceptionalApplication(std::string bundleId)
    : bundleId_(std::move(bundleId)) {}

ExceptionalApplication::ExceptionalApplication(std::string bundleId, ScrollBase scrollBase,
                                               ScrollAdvanced scrollAdvanced, bool inherit)
    : bundleId_(std::move(bundleId)),
      scrollBase_(scrollBase),
      scrollAdvanced_(std::move(scrollAdvanced)),
      inherit_(inherit) {}

// The settings value holds only the reference, so it does not change: the store saves the
// document but sends no will-change notification. The exception announces the change itself,
// so that the views showing it (a row's switch, the per-application sheet) redraw.
void ExceptionalApplication::setScrollBase(ScrollBase scrollBase) {
    objectWillChange().send();
    scrollBase_ = scrollBase;
    SettingsManager::shared().save();
}

void ExceptionalApplication::setScrollAdvanced(ScrollAdvanced scrollAdvanced) {
    objectWillChange().send();
    scrollAdvanced_ = std::move(scrollAdvanced);
    SettingsManager::shared().save();
}

void ExceptionalApplication::setInherit(bool inherit) {
    objectWillChange().send();
    inherit_ = inherit;
    SettingsManager::shared().save();
}

}  // namespace corvane
