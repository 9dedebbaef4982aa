#include "platform/qt/PresentationWindow.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

#include "platform/qt/QtSupport.h"
#include "platform/qt/SheetModality.h"

namespace corvane::platform::qt {

namespace {
std::vector<const PresentationWindow*>& liveSheets() {
    static std::vector<const PresentationWindow*> sheets;
    return sheets;
}
}  // namespace

PresentationWindow::PresentationWindow(QWidget* parent, bool sheet)
    : QWidget(parent,
              sheet ? (Qt::Sheet | Qt::FramelessWindowHint) : (Qt::Tool | Qt::FramelessWindowHint)),
      sheet_(sheet) {
    if (sheet) {
        setWindowModality(Qt::WindowModal);
        liveSheets().push_back(this);
    }
    installWindowInputFilters();
    setAttribute(Qt::WA_TranslucentBackground);
}

PresentationWindow::~PresentationWindow() {
    std::erase(liveSheets(), this);
}

const std::vector<const PresentationWindow*>& PresentationWindow::sheets() {
    return liveSheets();
}

void PresentationWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 0, 50), 1));
    p.setBrush(windowBackgroundColor());
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), sheet_ ? 10 : 8,
                      sheet_ ? 10 : 8);
}

void PresentationWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PresentationWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (!closingByBinding && onClosedByUser)
        onClosedByUser();
}

}  // namespace corvane::platform::qt
