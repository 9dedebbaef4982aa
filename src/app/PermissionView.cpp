#include "app/PermissionView.h"

#include <memory>

#include "app/AccentButtonStyle.h"
#include "platform/accessibility/Accessibility.h"
#include "platform/foundation/ProcessInfo.h"
#include "preferences/ForegroundStyleCompat.h"
#include "settings/Utils.h"

namespace corvane {

using namespace platform::ui;

View PermissionView::body() const {
    View button = Button("Open System Settings", &PermissionView::openSystemSettings);
    button = platform::isAvailable(12) ? button.buttonStyle(BuiltInButtonStyle::borderedProminent)
                                       : button.buttonStyle(std::make_shared<AccentButtonStyle>());
    return HStack(
               VerticalAlignment::top, 32,
               {Image("OrlindeNew").resizable().scaledToFit().frame(96, 96),
                VStack(
                    HorizontalAlignment::leading, 24,
                    {VStack(
                         HorizontalAlignment::leading, 8,
                         {Text("Accessibility Access").font(Font::title()),
                          Text("Corvane needs Accessibility permission to smooth your scrolling.")
                              .fixedSize(false, true)}),
                     foregroundStyleCompat(
                         Text("Enable Corvane in Privacy & Security \u2192 Accessibility. The app "
                              "will start automatically once access is granted."),
                         Color::secondary())
                         .fixedSize(false, true),
                     HStack({button}).frame(
                         {.maxWidth = kInfinity, .alignment = Alignment::trailing()})})})
        .padding(24)
        .frame(kWidth, std::nullopt, Alignment::leading())
        .fixedSize(false, true);
}

void PermissionView::openSystemSettings() {
    platform::AXIsProcessTrustedWithOptions({{platform::kAXTrustedCheckOptionPrompt, true}});
    Utils::openAccessibilitySettings();
}

}  // namespace corvane
