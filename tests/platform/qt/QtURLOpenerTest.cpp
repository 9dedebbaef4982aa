#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QObject>
#include <QUrl>
#include <fstream>
#include <string>
#include <vector>

#include "platform/appkit/Workspace.h"
#include "platform/qt/QtServices.h"
#include "support/TempFolder.h"

namespace corvane::platform {
namespace {

/// Stands for the desktop's handler of a scheme: records every URL it is given.
class UrlHandler : public QObject {
    Q_OBJECT
  public:
    std::vector<std::string> opened;

  public slots:
    void open(const QUrl& url) { opened.push_back(url.toString().toStdString()); }
};

// Once the live set-up has installed the desktop's services, the workspace opens a URL
// through the desktop: the handler of its scheme receives it and the answer is true. A file
// that does not exist, or a URL that does not parse, does not open and reaches no handler.
TEST(QtURLOpenerTest, TheWorkspaceOpensThroughTheDesktop) {
    qt::installQtServices();
    UrlHandler handler;
    QDesktopServices::setUrlHandler("corvane-test", &handler, "open");
    QDesktopServices::setUrlHandler("file", &handler, "open");
    corvane::testing::TempFolder folder;
    const std::string existing = (folder / "notes.txt").string();
    std::ofstream(existing) << "notes";

    auto& workspace = Workspace::shared();
    EXPECT_TRUE(workspace.open(*URL::fromString("corvane-test://example.invalid/changelog")));
    EXPECT_TRUE(workspace.open(URL::fileURLWithPath(existing)));
    EXPECT_FALSE(workspace.open(
        URL::fileURLWithPath("/System/Library/PreferencePanes/UniversalAccessPref.prefPane")));
    EXPECT_FALSE(workspace.open(*URL::fromString("corvane-test://exa%mple")));

    EXPECT_EQ(handler.opened, (std::vector<std::string>{"corvane-test://example.invalid/changelog",
                                                        "file://" + existing}));
    QDesktopServices::unsetUrlHandler("corvane-test");
    QDesktopServices::unsetUrlHandler("file");
}

}  // namespace
}  // namespace corvane::platform

#include "QtURLOpenerTest.moc"
