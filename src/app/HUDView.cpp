#include "app/HUDView.h"

#include "platform/foundation/ProcessInfo.h"
#include "preferences/ForegroundStyleCompat.h"

namespace corvane {

using namespace platform::ui;

View HUDView::body() const {
    View picture = systemImage
                       ? SystemImage(*systemImage).font(Font::system(30, Font::Weight::regular))
                       : Image("Orlinde").resizable().scaledToFit().frame(64, 64);
    View text = foregroundStyleCompat(
        Text(Verbatim{message}).font(Font::system(22, Font::Weight::medium)), dimmedTextColor());
    View panel = VStack(HorizontalAlignment::center, 12, {picture, text}).padding(30);
    panel = platform::isAvailable(12) ? panel.background(Material::ultraThin, Edges::all())
                                      : panel.background(Color::black().opacity(0.2));
    return panel.clipShape(RoundedRectangle(16, Shape::CornerStyle::continuous));
}

}  // namespace corvane
