#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/URL.h"
#include "platform/ui/Style.h"

namespace corvane::platform::ui {

class ButtonStyle;

/// Opens a URL with its default handler, a web page in the default browser (the
/// environment's open-URL action).
using OpenURLAction = std::function<void(const URL& url)>;

/// The open-URL action every view finds unless a view sets another: the workspace opens the
/// URL.
void openURLWithWorkspace(const URL& url);

/// Values that flow from a view to everything inside it. A modifier sets one for its
/// content; the innermost setting wins.
struct EnvironmentValues {
    Font font = Font::body();
    /// The text and symbol colour; none: the platform's primary colour.
    std::optional<Color> foreground;
    /// A weight that overrides the font's (`fontWeight`).
    std::optional<Font::Weight> fontWeight;
    bool isEnabled = true;
    ToggleStyle toggleStyle = ToggleStyle::automatic;
    BuiltInButtonStyle buttonStyle = BuiltInButtonStyle::automatic;
    /// A custom button style; when set it wins over `buttonStyle`.
    std::shared_ptr<const ButtonStyle> customButtonStyle;
    bool labelsHidden = false;
    ListStyle listStyle = ListStyle::automatic;
    /// Texts keep to one line and end in "…" where they lack room, as in the rows of a list.
    bool truncatesTexts = false;
    std::optional<KeyboardShortcut> keyboardShortcut;
    /// The drawing scale of `scaleEffect`, about the centre; layout is unchanged.
    double scale = 1;
    OpenURLAction openURL = openURLWithWorkspace;
};

}  // namespace corvane::platform::ui
