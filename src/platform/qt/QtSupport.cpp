#include "platform/qt/QtSupport.h"

#include <QApplication>
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPalette>
#include <cstdlib>

namespace corvane::platform::qt {

void ensureQtApplication() {
    if (QApplication::instance() != nullptr)
        return;
    if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr &&
        std::getenv("WAYLAND_DISPLAY") == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static int argc = 1;
    static char name[] = "corvane";
    static char* argv[] = {name, nullptr};
    auto* app = new QApplication(argc, argv);  // lives for the process, like every service
    QFont base("DejaVu Sans");
    base.setPixelSize(13);
    app->setFont(base);
    app->setStyle("Fusion");
}

QColor toQColor(const ui::Color& color) {
    QColor c;
    switch (color.name()) {
        case ui::Color::Name::primary:
            c = QColor(0, 0, 0, 217);
            break;
        case ui::Color::Name::secondary:
            c = QColor(0, 0, 0, 128);
            break;
        case ui::Color::Name::gray:
            c = QColor(142, 142, 147);
            break;
        case ui::Color::Name::white:
            c = QColor(255, 255, 255);
            break;
        case ui::Color::Name::black:
            c = QColor(0, 0, 0);
            break;
        case ui::Color::Name::clear:
            c = QColor(0, 0, 0, 0);
            break;
        case ui::Color::Name::accentColor:
            c = QColor(0, 122, 255);
            break;
        case ui::Color::Name::custom:
            c = QColor::fromRgbF(static_cast<float>(color.red()), static_cast<float>(color.green()),
                                 static_cast<float>(color.blue()));
            break;
    }
    c.setAlphaF(static_cast<float>(static_cast<double>(c.alphaF()) * color.opacityValue()));
    return c;
}

QColor foregroundColor(const ui::EnvironmentValues& env) {
    return toQColor(env.foreground.value_or(ui::Color::primary()));
}

QFont toQFont(const ui::Font& font, std::optional<ui::Font::Weight> weightOverride) {
    QFont f("DejaVu Sans");
    f.setPixelSize(static_cast<int>(font.size + 0.5));
    switch (weightOverride.value_or(font.weight)) {
        case ui::Font::Weight::ultraLight:
            f.setWeight(QFont::ExtraLight);
            break;
        case ui::Font::Weight::light:
            f.setWeight(QFont::Light);
            break;
        case ui::Font::Weight::regular:
            f.setWeight(QFont::Normal);
            break;
        case ui::Font::Weight::medium:
            f.setWeight(QFont::Medium);
            break;
        case ui::Font::Weight::semibold:
            f.setWeight(QFont::DemiBold);
            break;
        case ui::Font::Weight::bold:
            f.setWeight(QFont::Bold);
            break;
        case ui::Font::Weight::heavy:
            f.setWeight(QFont::Black);
            break;
    }
    if (font.design == ui::Font::Design::monospaced)
        f.setFamily("DejaVu Sans Mono");
    if (font.design == ui::Font::Design::serif)
        f.setFamily("DejaVu Serif");
    return f;
}

std::optional<std::string> pngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return std::nullopt;
    return bytes.toStdString();
}

QColor windowBackgroundColor() {
    return QColor(236, 236, 236);
}

}  // namespace corvane::platform::qt
