#include "preferences/AdvancedView.h"

#include "app/DiagnosticsReport.h"
#include "preferences/BlockKeysView.h"
#include "preferences/ForegroundStyleCompat.h"
#include "preferences/ScrollAdvancedSliderView.h"

namespace corvane {

using namespace platform::ui;

Binding<ScrollAdvanced> AdvancedView::scrollAdvancedBinding() const {
    SettingsManager& store = *settingsManager;
    return Binding<ScrollAdvanced>(
        [&store] { return store.scrollAdvanced(); },
        [&store](ScrollAdvanced value) { store.setScrollAdvanced(std::move(value)); });
}

void AdvancedView::resetScrollAdvanced() const {
    settingsManager->setScrollAdvanced(ScrollAdvanced{});
}

View AdvancedView::body() const {
    const AdvancedView self = *this;
    // Disabled exactly while the global value equals the default, compared exactly (the
    // blocking keys in their order included).
    const bool atDefaults = settingsManager->scrollAdvanced() == ScrollAdvanced{};
    return VStack(HorizontalAlignment::leading, kStackSpacing,
                  {ScrollAdvancedSliderView{scrollAdvancedBinding(), kLabelColumn,
                                            kTabControlColumn, false, true, false, kTabRowSpacing},
                   Divider(),
                   HStack(VerticalAlignment::top, std::nullopt,
                          {Text("").frame(kLabelColumn, std::nullopt),
                           Button("Advanced\u2026", [self] { self.showAdvancedSheet.set(true); }),
                           Button("Reset to defaults", [self] { self.resetScrollAdvanced(); })
                               .disabled(atDefaults)})})
        .sheet(showAdvancedSheet.binding(), nullptr, [self] { return self.advancedSheet(); });
}

View AdvancedView::advancedSheet() const {
    const AdvancedView self = *this;
    return VStack(
               HorizontalAlignment::leading, kStackSpacing,
               {ScrollAdvancedSliderView{scrollAdvancedBinding(), kLabelColumn, kSheetControlColumn,
                                         false, false, true, kSheetRowSpacing},
                HStack(
                    VerticalAlignment::top, std::nullopt,
                    {Text("Block keys:").frame(kLabelColumn, std::nullopt, Alignment::trailing()),
                     VStack(HorizontalAlignment::leading, std::nullopt,
                            {BlockKeysView{
                                 settingsManager,
                                 false,
                                 false,
                                 {ModifierKey::command, ModifierKey::control, ModifierKey::option}},
                             foregroundStyleCompat(
                                 Text("Block smooth scrolling when some of this key is pressed")
                                     .font(Font::footnote()),
                                 dimmedTextColor())
                                 .fixedSize(false, true)})
                         .frame(kSheetControlColumn, std::nullopt, Alignment::leading())}),
                Divider(),
                HStack(VerticalAlignment::center, std::nullopt,
                       {Button("Copy Diagnostics", [] { copyDiagnostics(); }), Spacer(),
                        Button("Done", [self] { self.showAdvancedSheet.set(false); })
                            .keyboardShortcut(KeyboardShortcut::defaultAction())})})
        .padding(kSheetPadding)
        .frame(kSheetWidth, std::nullopt);
}

}  // namespace corvane
