#include "app/AccentButtonStyle.h"

namespace corvane {

using namespace platform::ui;

View AccentButtonStyle::makeBody(const ButtonStyleConfiguration& configuration) const {
    return configuration.label.padding(Edges::vertical(), kVerticalPadding)
        .padding(Edges::horizontal(), kHorizontalPadding)
        .background(Color::accentColor().opacity(configuration.isPressed ? kPressedOpacity : 1.0))
        .foregroundColor(Color::white())
        .clipShape(RoundedRectangle(kCornerRadius, Shape::CornerStyle::continuous));
}

}  // namespace corvane
