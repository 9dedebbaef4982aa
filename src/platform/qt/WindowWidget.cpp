// Windows on Qt are frameless top-level widgets that draw their own title bar, so that
// frames, title bars and pictures are the same on every display (and offscreen).
#include "platform/qt/WindowWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "platform/appkit/NSWindow.h"
#include "platform/qt/QtSupport.h"
#include "platform/qt/SheetModality.h"
#include "platform/qt/ToolbarItems.h"

namespace corvane::platform::qt {

namespace {

/// The height of the row that holds the title and the window buttons, in points.
double titleRowHeight(const NSWindow& window, double titlebar) {
    const bool items = window.toolbar() && !window.toolbar()->items().empty();
    return items ? kTitleRowHeight : titlebar;
}

/// The corner radius of titled windows, in points.
constexpr double kWindowCornerRadius = 10;

void paintChrome(QPainter& p, const NSWindow& window, const QRect& bounds, double titlebar) {
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(bounds).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool titled = (window.styleMask() & NSWindowStyleMaskTitled) != 0;
    const ui::Color bg = window.backgroundColor();
    if (bg.opacityValue() > 0) {
        QPainterPath path;
        if (titled)
            path.addRoundedRect(r, kWindowCornerRadius, kWindowCornerRadius);
        else
            path.addRect(QRectF(bounds));
        p.fillPath(path, qt::toQColor(bg));
        if (titled) {
            p.setPen(QPen(QColor(0, 0, 0, 60), 1));
            p.drawPath(path);
        }
    }
    if (!titled)
        return;
    if (!window.titlebarAppearsTransparent()) {
        QPainterPath bar;
        bar.addRoundedRect(QRectF(r.x(), r.y(), r.width(), titlebar + kWindowCornerRadius),
                           kWindowCornerRadius, kWindowCornerRadius);
        p.save();
        p.setClipRect(QRectF(r.x(), r.y(), r.width(), titlebar));
        p.fillPath(bar, QColor(228, 228, 228));
        p.restore();
    }
    if (window.titlebarSeparatorStyle() != NSTitlebarSeparatorStyle::none &&
        !window.titlebarAppearsTransparent()) {
        p.fillRect(QRectF(r.x(), titlebar - 1, r.width(), 1), QColor(0, 0, 0, 30));
    }
    // Toolbar items take the band under a title row of their own.
    const bool items = window.toolbar() && !window.toolbar()->items().empty();
    if (items)
        paintToolbarItems(p, *window.toolbar(), r.width(), titlebar);
    const double titleRow = titleRowHeight(window, titlebar);
    // The three window buttons; those the style mask lacks are drawn greyed.
    const QColor colors[3] = {
        (window.styleMask() & NSWindowStyleMaskClosable) ? QColor(255, 95, 87)
                                                         : QColor(205, 205, 205),
        (window.styleMask() & NSWindowStyleMaskMiniaturizable) ? QColor(254, 188, 46)
                                                               : QColor(205, 205, 205),
        (window.styleMask() & NSWindowStyleMaskResizable) ? QColor(40, 200, 64)
                                                          : QColor(205, 205, 205)};
    for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(colors[i].darker(115), 0.5));
        p.setBrush(colors[i]);
        p.drawEllipse(QRectF(10 + 20.0 * i, titleRow / 2 - 6, 12, 12));
    }
    if (window.titleVisibility() == NSWindowTitleVisibility::visible && !window.title().empty()) {
        QFont f = qt::toQFont(ui::Font::system(13, ui::Font::Weight::semibold));
        p.setFont(f);
        p.setPen(QColor(0, 0, 0, 200));
        const bool leading = window.toolbar() &&
                             window.toolbarStyle() != NSWindowToolbarStyle::expanded &&
                             window.toolbarStyle() != NSWindowToolbarStyle::preference;
        QRectF text(leading ? 80 : 70, 0, r.width() - (leading ? 90 : 140), titleRow);
        p.drawText(text, (leading ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter,
                   QString::fromStdString(window.title()));
    }
}

}  // namespace

WindowWidget::WindowWidget(NSWindow& owner) : owner_(owner) {
    setAttribute(Qt::WA_TranslucentBackground);
    installWindowInputFilters();
}

void WindowWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    paintChrome(p, owner_, rect(), titlebarHeight);
}

QRectF WindowWidget::closeButton() const {
    return QRectF(10, titleRowHeight(owner_, titlebarHeight) / 2 - 6, 12, 12);
}

void WindowWidget::mousePressEvent(QMouseEvent* event) {
    if ((owner_.styleMask() & NSWindowStyleMaskClosable) &&
        closeButton().contains(event->position())) {
        owner_.performClose();
        return;
    }
    if (const auto& toolbar = owner_.toolbar()) {
        const auto rects = toolbarItemRects(*toolbar, width(), titlebarHeight);
        for (std::size_t i = 0; i < rects.size(); ++i) {
            if (rects[i].contains(event->position())) {
                toolbar->performItemAction(i);
                return;
            }
        }
    }
    QWidget::mousePressEvent(event);
}

}  // namespace corvane::platform::qt
