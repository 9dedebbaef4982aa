#include "platform/appkit/WindowPicture.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <utility>
#include <vector>

#include "platform/appkit/NSHostingView.h"
#include "platform/appkit/NSWindow.h"
#include "platform/qt/NSWindowImpl.h"
#include "platform/qt/PresentationWindow.h"
#include "platform/qt/QtSupport.h"
#include "platform/qt/WindowContent.h"

namespace corvane::platform {

std::optional<std::string> windowPicture(NSWindow& window) {
    auto* widget = window.impl().widget.data();
    if (widget == nullptr)
        return std::nullopt;
    if (NSHostingView* hosting = shownHostingView(window))
        hosting->updateNow();
    // Sheets and popovers the window shows (a popover of a sheet included, after its sheet)
    // are drawn over it where they stand; the picture grows to hold them.
    std::vector<std::pair<QWidget*, QPoint>> presented;
    QRect bounds(QPoint(0, 0), widget->size());
    for (auto* candidate : widget->findChildren<QWidget*>()) {
        // The presentation window declares no meta-object of its own: told apart by type.
        auto* child = dynamic_cast<qt::PresentationWindow*>(candidate);
        if (child == nullptr || !child->isVisible())
            continue;
        const QPoint at = child->pos() - widget->pos();
        presented.emplace_back(child, at);
        bounds |= QRect(at, child->size());
    }
    QImage image(bounds.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (!window.isOpaque()) {
        // What shows through a translucent window: a plain desktop.
        QPainter backdrop(&image);
        QLinearGradient desktop(0, 0, image.width(), image.height());
        desktop.setColorAt(0, QColor(96, 120, 160));
        desktop.setColorAt(1, QColor(150, 110, 140));
        backdrop.fillRect(image.rect(), desktop);
    }
    const QPoint origin = -bounds.topLeft();
    widget->render(&image, origin, QRegion(),
                   QWidget::DrawWindowBackground | QWidget::DrawChildren);
    for (const auto& [child, at] : presented)
        child->render(&image, origin + at, QRegion(), QWidget::DrawChildren);
    return qt::pngBytes(image);
}

}  // namespace corvane::platform
