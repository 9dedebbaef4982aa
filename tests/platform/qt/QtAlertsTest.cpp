#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "platform/appkit/NSAlert.h"
#include "platform/appkit/WindowPicture.h"
#include "platform/qt/QtAlerts.h"
#include "platform/qt/QtSupport.h"
#include "support/SimSession.h"

namespace corvane::platform {
namespace {

NSAlert moveAlert() {
    NSAlert alert;
    alert.setMessageText("Move to <Applications> folder");
    alert.setInformativeText("Corvane needs to move.");
    alert.addButtonWithTitle("Move to Applications Folder");
    alert.addButtonWithTitle("Do Not Move");
    return alert;
}

/// Runs `user` on the message box once it is up, inside its modal loop.
void whenShown(std::function<void(QMessageBox&)> user) {
    QTimer::singleShot(0, [user] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
                user(*box);
        }
    });
}

struct AnswerCase {
    const char* name;
    std::function<void(QMessageBox&)> user;
    std::size_t answer;
};

class QtAlertAnswers : public ::testing::TestWithParam<AnswerCase> {};

// The message box hands back the button the user pressed: Return presses the first, Escape
// the last.
TEST_P(QtAlertAnswers, AnswerIsTheButtonPressed) {
    qt::ensureQtApplication();
    whenShown(GetParam().user);
    EXPECT_EQ(qt::QtAlerts().runModal(moveAlert()), GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(
    Qt, QtAlertAnswers,
    ::testing::Values(
        AnswerCase{"DefaultButton", [](QMessageBox& box) { box.defaultButton()->click(); }, 0},
        AnswerCase{"Escape", [](QMessageBox& box) { box.escapeButton()->click(); }, 1},
        AnswerCase{"Closed", [](QMessageBox& box) { box.reject(); }, 1}),
    testing::CaseName());

// The alert is drawn as the user sees it, its texts shown as text and not as markup.
TEST(QtAlertPicture, DrawsTheAlert) {
    const auto png = alertPicture(moveAlert());
    ASSERT_TRUE(png);
    const QImage image = QImage::fromData(QByteArray::fromStdString(*png), "PNG");
    EXPECT_GT(image.width(), 200);
    EXPECT_GT(image.height(), 60);
}

}  // namespace
}  // namespace corvane::platform
