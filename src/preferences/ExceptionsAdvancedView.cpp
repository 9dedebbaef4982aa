#include "preferences/ExceptionsAdvancedView.h"

#include <vector>

#include "preferences/ForegroundStyleCompat.h"
#include "preferences/ScrollAdvancedSliderView.h"
#include "settings/Utils.h"

namespace corvane {

using namespace platform::ui;

namespace {

/// The slider view's measures in the sheet, in points: all five rows.
constexpr double kLeftColumnSize = 150;
constexpr double kRightColumnSize = 230;
constexpr double kRowSpacing = 12;

}  // namespace

void ExceptionsAdvancedView::resetScrollAdvanced() const {
    scrollAdvanced.set(ScrollAdvanced{});
}

View ExceptionsAdvancedView::sheet() const {
    const Utils::ApplicationInfo info = Utils::applicationInfo(bundleId);
    std::vector<View> header;
    if (info.icon)
        header.push_back(Image(*info.icon).resizable().frame(kIconSize, kIconSize));
    header.push_back(Text(Verbatim{info.name}).font(Font::headline()));
    header.push_back(Spacer());
    header.push_back(Toggle("Use global settings", inherit));

    const ExceptionsAdvancedView self = *this;
    const auto showing = isShowingSheet;
    return VStack(HorizontalAlignment::leading, kSheetSpacing,
                  {HStack(std::move(header)), Divider(),
                   View(ScrollAdvancedSliderView{scrollAdvanced, kLeftColumnSize, kRightColumnSize,
                                                 false, true, true, kRowSpacing})
                       .disabled(inherit.get()),
                   Divider(),
                   HStack({Button("Reset to defaults", [self] { self.resetScrollAdvanced(); })
                               .disabled(scrollAdvanced.get() == ScrollAdvanced{}),
                           Spacer(),
                           Button("Done", [showing] { showing.set(false); })
                               .keyboardShortcut(KeyboardShortcut::defaultAction())})})
        .padding(kSheetPadding)
        .frame(kSheetWidth, std::nullopt);
}

View ExceptionsAdvancedView::body() const {
    const auto showing = isShowingSheet;
    const ExceptionsAdvancedView self = *this;
    return foregroundStyleCompat(
               SystemImage("gearshape.fill").resizable().frame(kGearSize, kGearSize),
               dimmedTextColor())
        .help("Advanced\u2026")
        .onTapGesture(1, [showing] { showing.set(!showing.get()); })
        .sheet(
            isShowingSheet.binding(), [] {}, [self] { return self.sheet(); });
}

}  // namespace corvane
