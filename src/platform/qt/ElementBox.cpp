#include "platform/qt/ElementBox.h"

#include <type_traits>

namespace corvane::platform::ui {

std::unique_ptr<ElementBox> makeElementBox(Host& host, QWidget* container, const Element& element,
                                           std::optional<Axis> axis) {
    return std::visit(
        [&](const auto& e) -> std::unique_ptr<ElementBox> {
            using E = std::decay_t<decltype(e)>;
            if constexpr (std::is_same_v<E, EmptyElement>)
                return makeEmptyBox(host, container);
            if constexpr (std::is_same_v<E, StackElement>)
                return makeStackBox(host, container, e.axis);
            if constexpr (std::is_same_v<E, SpacerElement>)
                return makeSpacerBox(host, container, axis);
            if constexpr (std::is_same_v<E, DividerElement>)
                return makeDividerBox(host, container, axis);
            if constexpr (std::is_same_v<E, TextElement>)
                return makeTextBox(host, container);
            if constexpr (std::is_same_v<E, ImageElement>)
                return makeImageBox(host, container);
            if constexpr (std::is_same_v<E, ToggleElement>)
                return makeToggleBox(host, container);
            if constexpr (std::is_same_v<E, SliderElement>)
                return makeSliderBox(host, container);
            if constexpr (std::is_same_v<E, ButtonElement>)
                return makeButtonBox(host, container);
            if constexpr (std::is_same_v<E, ListElement>)
                return makeListBox(host, container);
            if constexpr (std::is_same_v<E, GroupBoxElement>)
                return makeGroupBoxBox(host, container);
            if constexpr (std::is_same_v<E, ComponentElement>)
                return makeComponentBox(host, container, axis);
            if constexpr (std::is_same_v<E, RepresentableElement>)
                return makeRepresentableBox(host, container);
        },
        element);
}

}  // namespace corvane::platform::ui
