#include "preferences/BlockKeysView.h"

#include "preferences/BlockKeysListView.h"
#include "preferences/SettingsPopover.h"

namespace corvane {

using namespace platform::ui;

bool BlockKeysView::isBlocked(ModifierKey key) const {
    return BlockKeysListView{settingsManager, allKeys}.isBlocked(key);
}

View BlockKeysView::body() const {
    std::vector<View> symbols;
    for (ModifierKey key : allKeys) {
        if (isBlocked(key)) {
            symbols.push_back(SystemImage(labelOf(key).symbol)
                                  .font(Font::system(kSymbolSize, Font::Weight::regular,
                                                     Font::Design::defaultDesign)));
        }
    }
    const auto popover = showPopover;
    const auto hovered = isHovered;
    // The list always offers the three keys, whatever the strip shows.
    const BlockKeysListView list{settingsManager,
                                 {ModifierKey::command, ModifierKey::control, ModifierKey::option}};
    View strip =
        HStack(VerticalAlignment::center, std::nullopt, std::move(symbols))
            .padding()
            .frame(kWidth, kHeight)
            .background(Color::gray().opacity(isHovered.get() ? kHoveredFillOpacity : kFillOpacity),
                        RoundedRectangle(kCornerRadius, Shape::CornerStyle::continuous))
            .contentShape(Rectangle())
            .onTapGesture(1, [popover] { popover.set(!popover.get()); })
            .onHover([hovered](bool inside) { hovered.set(inside); })
            .popover(showPopover.binding(), settingsPopoverArrowEdge(),
                     [list] { return View(list); });
    return VStack(HorizontalAlignment::leading, std::nullopt, {strip});
}

}  // namespace corvane
