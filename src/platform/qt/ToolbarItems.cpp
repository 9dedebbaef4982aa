// A toolbar's items in the title bar: a centred row of buttons, each an image over a label,
// as a settings window's tabs show.
#include "platform/qt/ToolbarItems.h"

#include <QFontMetricsF>
#include <algorithm>

#include "platform/appkit/NSToolbar.h"
#include "platform/qt/QtImages.h"
#include "platform/qt/QtSupport.h"

namespace corvane::platform::qt {

namespace {

constexpr double kMinItemWidth = 60;  // points
constexpr double kItemPadding = 10;   // points on each side of the label
constexpr double kItemSpacing = 2;    // points between two items
constexpr double kItemHeight = 44;    // points
constexpr double kImageHeight = 20;   // points: the band the image is centred in

QFont labelFont() {
    return toQFont(ui::Font::system(11));
}

}  // namespace

std::vector<QRectF> toolbarItemRects(const NSToolbar& toolbar, double width,
                                     double titlebarHeight) {
    std::vector<QRectF> rects;
    const QFontMetricsF metrics(labelFont());
    double total = 0;
    std::vector<double> widths;
    for (const auto& item : toolbar.items()) {
        widths.push_back(std::max(
            kMinItemWidth,
            metrics.horizontalAdvance(QString::fromStdString(item.label)) + 2 * kItemPadding));
        total += widths.back();
    }
    if (!widths.empty())
        total += kItemSpacing * static_cast<double>(widths.size() - 1);
    const double band = std::max(0.0, titlebarHeight - kTitleRowHeight);
    const double top = kTitleRowHeight + (band - kItemHeight) / 2 - 2;
    double x = (width - total) / 2;
    for (const double w : widths) {
        rects.emplace_back(x, top, w, kItemHeight);
        x += w + kItemSpacing;
    }
    return rects;
}

void paintToolbarItems(QPainter& p, const NSToolbar& toolbar, double width, double titlebarHeight) {
    const auto rects = toolbarItemRects(toolbar, width, titlebarHeight);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const auto& item = toolbar.items()[i];
        const QRectF r = rects[i];
        const bool selected = item.itemIdentifier == toolbar.selectedItemIdentifier();
        if (selected) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0, 0, 0, 22));
            p.drawRoundedRect(r, 6, 6);
        }
        const QColor color = selected ? QColor(0, 122, 255) : QColor(0, 0, 0, 170);
        if (item.image) {
            const double w = std::min(item.image->size().width, r.width());
            const double h = std::min(item.image->size().height, kImageHeight);
            const QRectF image(r.center().x() - w / 2, r.top() + 4 + (kImageHeight - h) / 2, w, h);
            drawNSImage(p, *item.image, image, color);
        }
        p.setFont(labelFont());
        p.setPen(color);
        p.drawText(
            QRectF(r.left(), r.top() + 4 + kImageHeight, r.width(), r.height() - 4 - kImageHeight),
            Qt::AlignHCenter | Qt::AlignVCenter, QString::fromStdString(item.label));
    }
    p.restore();
}

}  // namespace corvane::platform::qt
