#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <string>
#include <vector>

#include "platform/appkit/NSMenu.h"
#include "platform/appkit/NSStatusBar.h"
#include "platform/appkit/StatusMenuPicture.h"
#include "platform/qt/MenuRendering.h"
#include "platform/qt/QtImages.h"
#include "platform/qt/QtSupport.h"
#include "platform/qt/SymbolShapes.h"
#include "support/SimSession.h"

namespace corvane::platform::qt {
namespace {

/// Handles "open" and "quit", recording what it performed.
class Target : public NSObject {
  public:
    bool respondsToSelector(std::string_view selector) const override {
        return selector == "open" || selector == "quit";
    }
    bool performSelector(std::string_view selector) override {
        performed.emplace_back(selector);
        return true;
    }
    std::vector<std::string> performed;
};

// The Qt form of a menu shows what the user sees: hidden rows left out, key equivalents
// written as the system writes them, check marks and enabling as the menu last set them;
// triggering a row sends its item's action.
TEST(MenuRenderingTest, FillsTheShownRowsAndSendsTheirActions) {
    ensureQtApplication();
    Target target;
    NSMenu menu;
    auto open = menu.addItem("Open", "open", "");
    open->setState(NSControlStateValueOn);
    menu.addItem("Secret", "open", "")->setHidden(true);
    menu.addItem(NSMenuItem::separatorItem());
    auto quit = menu.addItem("Quit", "quit", "q");
    auto lost = menu.addItem("Lost", "close", "");
    for (const auto& item : {open, quit, lost})
        item->setTarget(&target);
    menu.update();

    QMenu qmenu;
    fillQMenu(qmenu, menu);
    const auto actions = qmenu.actions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_EQ(actions[0]->text(), "Open");
    EXPECT_TRUE(actions[0]->isChecked());
    EXPECT_TRUE(actions[1]->isSeparator());
    EXPECT_EQ(actions[2]->text(), QString::fromUtf8("Quit\t\u2318Q"));
    EXPECT_FALSE(actions[2]->isChecked());
    EXPECT_FALSE(actions[3]->isEnabled());

    actions[2]->trigger();
    EXPECT_EQ(target.performed, std::vector<std::string>{"quit"});
}

// Each of the four symbols the menu and the status item use is drawn as a shape, with a
// size for the images' catalogue; a name the backend cannot draw has none.
TEST(MenuRenderingTest, DrawsTheFourSymbols) {
    ensureQtApplication();
    QtImages images;
    for (const char* name : {"computermouse.fill", "info.circle", "gear", "xmark.rectangle"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(images.systemSymbolSize(name));
        QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        ASSERT_TRUE(drawSymbolShape(painter, name, QRectF(0, 0, 32, 32), Qt::black));
        painter.end();
        int inked = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x)
                inked += qAlpha(image.pixel(x, y)) > 128;
        }
        EXPECT_GT(inked, 40);
        EXPECT_LT(inked, 32 * 32 * 3 / 4);
    }
    EXPECT_FALSE(images.systemSymbolSize("no.such.symbol"));
    EXPECT_TRUE(images.imageAssetSize("OrlindeNew"));
}

// The picture of the open menu is a PNG; an item without a menu has none to draw.
TEST(MenuRenderingTest, DrawsThePictureOfTheOpenMenu) {
    auto item = NSStatusBar::systemStatusBar().statusItemWithLength(NSVariableStatusItemLength);
    EXPECT_FALSE(statusMenuPicture(*item));
    auto menu = std::make_shared<NSMenu>();
    menu->addItem("Open", "open", "");
    item->setMenu(menu);
    const auto png = statusMenuPicture(*item);
    ASSERT_TRUE(png);
    const QImage picture = QImage::fromData(QByteArray::fromStdString(*png), "PNG");
    EXPECT_GT(picture.height(), 2 * 24);
}

}  // namespace
}  // namespace corvane::platform::qt
