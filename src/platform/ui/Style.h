#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace corvane::platform::ui {

/// A colour: one of the platform's named colours (which follow the system's appearance) or a
/// fixed RGB value, with an opacity.
class Color {
  public:
    enum class Name { primary, secondary, gray, white, black, clear, accentColor, custom };

    static Color primary() { return Color(Name::primary); }
    /// The dimmed colour of secondary text (macOS 12 and later).
    static Color secondary() { return Color(Name::secondary); }
    static Color gray() { return Color(Name::gray); }
    static Color white() { return Color(Name::white); }
    static Color black() { return Color(Name::black); }
    static Color clear() { return Color(Name::clear); }
    /// The user's accent colour.
    static Color accentColor() { return Color(Name::accentColor); }
    /// A fixed colour; components 0 to 1.
    static Color rgb(double red, double green, double blue) {
        Color c(Name::custom);
        c.red_ = red;
        c.green_ = green;
        c.blue_ = blue;
        return c;
    }

    /// The same colour at `opacity` (0 to 1) of its own opacity.
    Color opacity(double opacity) const {
        Color c = *this;
        c.opacity_ *= opacity;
        return c;
    }

    Name name() const { return name_; }
    double opacityValue() const { return opacity_; }
    double red() const { return red_; }
    double green() const { return green_; }
    double blue() const { return blue_; }
    bool operator==(const Color&) const = default;

  private:
    explicit Color(Name name) : name_(name) {}
    Name name_;
    double opacity_ = 1;
    double red_ = 0;
    double green_ = 0;
    double blue_ = 0;
};

/// A translucent material that blurs what lies behind (macOS 12 and later).
enum class Material { ultraThin, thin, regular };

/// What fills a shape: a colour or a material.
using ShapeStyle = std::variant<Color, Material>;

/// A rectangle, plain or with rounded corners.
struct Shape {
    enum class Kind { rectangle, roundedRectangle };
    enum class CornerStyle { circular, continuous };
    Kind kind = Kind::rectangle;
    double cornerRadius = 0;  ///< points
    CornerStyle cornerStyle = CornerStyle::circular;
    bool operator==(const Shape&) const = default;
};

inline Shape Rectangle() {
    return {};
}
inline Shape RoundedRectangle(double cornerRadius,
                              Shape::CornerStyle style = Shape::CornerStyle::circular) {
    return {Shape::Kind::roundedRectangle, cornerRadius, style};
}

/// A font: one of the platform's text styles, or the system font at a size.
struct Font {
    enum class TextStyle { body, title, title2, title3, headline, callout, footnote, system };
    enum class Weight { ultraLight, light, regular, medium, semibold, bold, heavy };
    enum class Design { defaultDesign, rounded, monospaced, serif };

    TextStyle style = TextStyle::body;
    double size = 13;  ///< points
    Weight weight = Weight::regular;
    Design design = Design::defaultDesign;

    static Font body() { return {TextStyle::body, 13, Weight::regular}; }
    static Font title() { return {TextStyle::title, 22, Weight::regular}; }
    static Font title2() { return {TextStyle::title2, 17, Weight::regular}; }
    static Font title3() { return {TextStyle::title3, 15, Weight::regular}; }
    static Font headline() { return {TextStyle::headline, 13, Weight::bold}; }
    static Font callout() { return {TextStyle::callout, 12, Weight::regular}; }
    static Font footnote() { return {TextStyle::footnote, 10, Weight::regular}; }
    static Font system(double size, Weight weight = Weight::regular,
                       Design design = Design::defaultDesign) {
        return {TextStyle::system, size, weight, design};
    }
    bool operator==(const Font&) const = default;
};

/// How a toggle is drawn: the platform's default (a checkbox on this platform) or a switch.
enum class ToggleStyle { automatic, checkbox, switchStyle };

/// How a list is drawn: the platform's default (bordered rows) or plain rows.
enum class ListStyle { automatic, plain };

/// The button styles the platform draws itself.
enum class BuiltInButtonStyle {
    automatic,          ///< the platform's bordered push button
    borderedProminent,  ///< filled with the accent colour, white label (macOS 12 and later)
    plain,              ///< the label alone
};

/// Special keys of keyboard shortcuts.
enum class KeyEquivalent { returnKey, escape };

/// A key with modifiers that triggers a control: a character or a special key.
struct KeyboardShortcut {
    std::variant<char, KeyEquivalent> key = KeyEquivalent::returnKey;
    std::uint64_t modifiers = 0;  ///< modifier-flag masks, as events carry them

    /// The default action of a window: Return, no modifiers.
    static KeyboardShortcut defaultAction() { return {}; }
    bool operator==(const KeyboardShortcut&) const = default;
};

}  // namespace corvane::platform::ui
