#include "platform/appkit/WindowPicture.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include "platform/appkit/NSHostingView.h"
#include "platform/appkit/NSWindow.h"
#include "platform/qt/NSWindowImpl.h"

namespace corvane::platform {

bool writeWindowPicture(NSWindow& window, const std::string& path) {
    auto* widget = window.impl().widget.data();
    if (widget == nullptr)
        return false;
    if (window.contentView()) {
        if (auto* hosting = dynamic_cast<NSHostingView*>(window.contentView().get()))
            hosting->updateNow();
    }
    QImage image(widget->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (!window.isOpaque()) {
        // What shows through a translucent window: a plain desktop.
        QPainter backdrop(&image);
        QLinearGradient desktop(0, 0, image.width(), image.height());
        desktop.setColorAt(0, QColor(96, 120, 160));
        desktop.setColorAt(1, QColor(150, 110, 140));
        backdrop.fillRect(image.rect(), desktop);
    }
    widget->render(&image, QPoint(), QRegion(),
                   QWidget::DrawWindowBackground | QWidget::DrawChildren);
    return image.save(QString::fromStdString(path), "PNG");
}

}  // namespace corvane::platform
