#pragma once

#include <optional>
#include <string>
#include <tuple>

#include "platform/ui/Properties.h"
#include "platform/ui/View.h"

namespace corvane {

/// The content of the About window ("about"): the icon, the name, the version and build,
/// the rights notice, the support address and a round help button that opens the
/// troubleshooting page through the environment's open-URL action. 440 points wide, as
/// high as its texts. Main thread only.
struct AboutView {
    /// The troubleshooting page and the support address, on a reserved domain that names no
    /// real site.
    static constexpr const char* kTroubleshootingAddress =
        "https://corvane.example.invalid/installation-guide#troubleshooting";
    static constexpr const char* kSupportAddress = "support@corvane.example.invalid";
    static constexpr const char* kRightsNotice = "Copyright \u00a9 Corvane. All rights reserved.";
    static constexpr double kWidth = 440;  ///< points

    /// The main bundle's value of `key` when it is a string, else "?".
    static std::string bundleText(const std::string& key);

    /// The build number ("CFBundleVersion"), fixed when the view is made.
    std::string build = bundleText("CFBundleVersion");
    platform::ui::Environment<platform::ui::OpenURLAction> _openURL{
        &platform::ui::EnvironmentValues::openURL};

    platform::ui::View body() const;
    auto viewProperties() { return std::tie(_openURL); }
};

}  // namespace corvane
