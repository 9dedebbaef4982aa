#include "platform/qt/MenuRendering.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <memory>

#include "platform/appkit/NSStatusBar.h"
#include "platform/appkit/StatusMenuPicture.h"
#include "platform/qt/QtImages.h"
#include "platform/qt/QtSupport.h"

namespace corvane::platform::qt {

namespace {

constexpr int kMenuBarHeight = 24;   // points
constexpr int kStatusIconSide = 16;  // points
constexpr int kItemPadding = 8;      // points on each side of a status item's icon

/// "⌃⌥⇧⌘" and the key, upper-cased, as menus show key equivalents.
QString keyEquivalentText(const NSMenuItem& item) {
    if (item.keyEquivalent().empty())
        return {};
    QString text;
    const auto mask = item.keyEquivalentModifierMask();
    if (mask & NSEventModifierFlagControl)
        text += QString::fromUtf8("\u2303");
    if (mask & NSEventModifierFlagOption)
        text += QString::fromUtf8("\u2325");
    if (mask & NSEventModifierFlagShift)
        text += QString::fromUtf8("\u21E7");
    if (mask & NSEventModifierFlagCommand)
        text += QString::fromUtf8("\u2318");
    return text + QString::fromStdString(item.keyEquivalent()).toUpper();
}

}  // namespace

void fillQMenu(QMenu& qmenu, NSMenu& menu) {
    qmenu.clear();
    const QColor textColor = qmenu.palette().color(QPalette::WindowText);
    for (std::size_t i = 0; i < menu.items().size(); ++i) {
        const NSMenuItem& item = *menu.items()[i];
        if (item.isHidden())
            continue;
        if (item.isSeparatorItem()) {
            qmenu.addSeparator();
            continue;
        }
        // Text after a tab is the shortcut column of a Qt menu.
        QString text = QString::fromStdString(item.title());
        if (const QString key = keyEquivalentText(item); !key.isEmpty())
            text += '\t' + key;
        QAction* action = qmenu.addAction(text);
        action->setCheckable(item.state() != NSControlStateValueOff);
        action->setChecked(item.state() == NSControlStateValueOn);
        action->setEnabled(item.isEnabled());
        if (item.image())
            action->setIcon(iconFor(*item.image(), textColor));
        // The menu outlives its Qt form, which is filled anew at every opening.
        NSMenu* source = &menu;
        QObject::connect(action, &QAction::triggered,
                         [source, i] { source->performActionForItemAtIndex(i); });
    }
}

}  // namespace corvane::platform::qt

namespace corvane::platform {

using namespace qt;

std::optional<std::string> statusMenuPicture(NSStatusItem& item) {
    if (!item.menu())
        return std::nullopt;
    ensureQtApplication();
    item.menu()->prepareToOpen();
    QMenu qmenu;
    fillQMenu(qmenu, *item.menu());
    qmenu.ensurePolished();
    qmenu.adjustSize();
    const QSize menuSize = qmenu.sizeHint();

    // The bar spans the menu and some room to the left; the item sits at its right, above
    // the menu's left edge, highlighted while its menu is open.
    const int itemWidth = kStatusIconSide + 2 * kItemPadding;
    const int width = menuSize.width() + 120;
    const int menuLeft = width - menuSize.width() - 40;
    // Twice the pixels of the points, as on a Retina display.
    const QSize size(width, kMenuBarHeight + menuSize.height() + 24);
    QImage image(size * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    QPainter painter(&image);
    QLinearGradient desktop(0, 0, size.width(), size.height());
    desktop.setColorAt(0, QColor(96, 120, 160));
    desktop.setColorAt(1, QColor(150, 110, 140));
    painter.fillRect(QRect(QPoint(), size), desktop);
    painter.fillRect(QRect(0, 0, width, kMenuBarHeight), QColor(236, 236, 236, 235));
    const QRectF itemRect(menuLeft, 2, itemWidth, kMenuBarHeight - 4);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 40));
    painter.drawRoundedRect(itemRect, 4, 4);
    if (item.button() && item.button()->image()) {
        const QRectF iconRect(itemRect.center().x() - kStatusIconSide / 2.0,
                              itemRect.center().y() - kStatusIconSide / 2.0, kStatusIconSide,
                              kStatusIconSide);
        drawNSImage(painter, *item.button()->image(), iconRect, QColor(0, 0, 0, 217));
    }
    qmenu.render(&painter, QPoint(menuLeft, kMenuBarHeight + 2), QRegion(),
                 QWidget::DrawWindowBackground | QWidget::DrawChildren);
    painter.end();
    return pngBytes(image);
}

}  // namespace corvane::platform
