#include "app/AboutView.h"

#include "app/NativeHelpButton.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/URL.h"
#include "preferences/ForegroundStyleCompat.h"

namespace corvane {

using namespace platform::ui;

std::string AboutView::bundleText(const std::string& key) {
    return platform::Bundle::main().infoString(key).value_or("?");
}

View AboutView::body() const {
    // The version is read on every evaluation; the build was fixed when the view was made.
    const std::string version = bundleText("CFBundleShortVersionString");
    const OpenURLAction open = _openURL();
    NativeHelpButton help{[open] {
        if (auto url = platform::URL::fromString(kTroubleshootingAddress); url && open)
            open(*url);
    }};
    return HStack(VerticalAlignment::center, 30,
                  {Image("OrlindeNew").resizable().scaledToFit().frame(96, 96),
                   VStack(HorizontalAlignment::leading, 12,
                          {VStack(HorizontalAlignment::leading, 8,
                                  {Text("Corvane").font(Font::title()),
                                   foregroundStyleCompat(
                                       Text(Verbatim{"Version " + version + " (" + build + ")"})
                                           .font(Font::callout()),
                                       dimmedTextColor()),
                                   foregroundStyleCompat(Text(kRightsNotice).font(Font::footnote()),
                                                         dimmedTextColor())}),
                           HStack(VerticalAlignment::center, 12,
                                  {Text(Verbatim{kSupportAddress}), Spacer(),
                                   View(std::move(help)).frame(25, 25)})})})
        .padding(24)
        .frame(kWidth, std::nullopt, Alignment::leading())
        .fixedSize(false, true);
}

}  // namespace corvane
