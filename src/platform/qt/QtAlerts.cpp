#include "platform/qt/QtAlerts.h"

#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <memory>
#include <vector>

#include "platform/appkit/WindowPicture.h"
#include "platform/qt/Artwork.h"
#include "platform/qt/QtSupport.h"

namespace corvane::platform::qt {

namespace {

constexpr int kIconSize = 64;  // points

/// The message box of `alert` with its buttons, in the alert's order.
struct AlertBox {
    std::unique_ptr<QMessageBox> box;
    std::vector<QPushButton*> buttons;
};

AlertBox makeAlertBox(const NSAlert& alert) {
    ensureQtApplication();
    AlertBox made{std::make_unique<QMessageBox>(), {}};
    QMessageBox& box = *made.box;
    // The message in bold over the informative text; both escaped, so that no text the
    // application shows is read as markup.
    box.setTextFormat(Qt::RichText);
    box.setText("<b>" + QString::fromStdString(alert.messageText()).toHtmlEscaped() + "</b>");
    box.setInformativeText("<p>" + QString::fromStdString(alert.informativeText()).toHtmlEscaped() +
                           "</p>");
    QPixmap icon(kIconSize, kIconSize);
    icon.fill(Qt::transparent);
    {
        QPainter painter(&icon);
        painter.setRenderHint(QPainter::Antialiasing);
        drawImageAsset(painter, "OrlindeNew", QRectF(0, 0, kIconSize, kIconSize));
    }
    box.setIconPixmap(icon);
    const auto& titles = alert.buttonTitles();
    for (std::size_t i = 0; i < titles.size(); ++i) {
        made.buttons.push_back(
            box.addButton(QString::fromStdString(titles[i]),
                          i == 0 ? QMessageBox::AcceptRole : QMessageBox::RejectRole));
    }
    if (!made.buttons.empty())
        box.setDefaultButton(made.buttons.front());
    if (made.buttons.size() > 1)
        box.setEscapeButton(made.buttons.back());
    return made;
}

}  // namespace

std::size_t QtAlerts::runModal(const NSAlert& alert) {
    AlertBox made = makeAlertBox(alert);
    made.box->exec();
    for (std::size_t i = 0; i < made.buttons.size(); ++i) {
        if (made.box->clickedButton() == made.buttons[i])
            return i;
    }
    return made.buttons.size() - 1;  // closed by the window manager: as Escape
}

}  // namespace corvane::platform::qt

namespace corvane::platform {

std::optional<std::string> alertPicture(const NSAlert& alert) {
    qt::AlertBox made = qt::makeAlertBox(alert);
    QMessageBox& box = *made.box;
    box.adjustSize();
    QImage image(box.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    box.render(&image);
    return qt::pngBytes(image);
}

}  // namespace corvane::platform
