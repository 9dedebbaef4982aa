// The boxes that show content: texts and images.
#include <optional>
#include <utility>
#include <vector>

#include "platform/foundation/LocalizedStrings.h"
#include "platform/qt/Artwork.h"
#include "platform/qt/ElementBox.h"
#include "platform/qt/LayoutGeometry.h"
#include "platform/qt/QtSupport.h"
#include "platform/qt/Widgets.h"

namespace corvane::platform::ui {

using namespace geometry;

namespace {

class TextBox final : public ElementBox {
  public:
    static constexpr std::size_t kMeasuredWidths = 16;  ///< sizes a text keeps
    TextBox(Host& h, QWidget* c) : ElementBox(h, c), widget_(new qt::TextWidget(c)) {
        widget_->show();
    }
    ~TextBox() override { delete widget_.data(); }
    bool accepts(const Element& e) const override { return std::holds_alternative<TextElement>(e); }
    void update(const View& view, const EnvironmentValues& env) override {
        const auto& text = *view.as<TextElement>();
        std::string shown =
            text.localized ? LocalizedStrings::main().localizedString(text.text) : text.text;
        QFont font = qt::environmentFont(env);
        if (shown != shown_ || !(font == font_) || env.truncatesTexts != truncates_) {
            shown_ = std::move(shown);
            font_ = std::move(font);
            truncates_ = env.truncatesTexts;
            measured_.clear();
        }
        QColor color = qt::foregroundColor(env);
        if (!env.isEnabled)
            color.setAlphaF(color.alphaF() * 0.5f);
        widget_->set(QString::fromStdString(shown_), font_, color, truncates_);
    }
    QWidget* widget() const override { return widget_; }
    QSizeF sizeThatFits(const Proposal& p) override {
        const std::optional<double> width = finite(p.width) ? p.width : std::nullopt;
        if (!truncates_)
            return measured(width);
        // On one line a text takes its ideal width, or all it is offered when that is less.
        const QSizeF ideal = measured(std::nullopt);
        if (width && *width < ideal.width())
            return {std::max(0.0, *width), ideal.height()};
        return ideal;
    }
    void place(const QRectF& r) override { widget_->setGeometry(pixelRect(r)); }
    void describe(ElementInfo& info) const override { info.label = shown_; }

  private:
    // Only the width matters to a text; each width is measured once while text and font
    // stay the same, however often the layout asks.
    QSizeF measured(std::optional<double> width) {
        for (const auto& [w, size] : measured_) {
            if (w == width)
                return size;
        }
        const QSizeF size = qt::measureText(widget_->text(), font_, width);
        if (measured_.size() >= kMeasuredWidths)
            measured_.clear();  // a window being resized offers a new width every time
        measured_.emplace_back(width, size);
        return size;
    }

    QPointer<qt::TextWidget> widget_;
    std::string shown_;
    QFont font_;
    bool truncates_ = false;
    std::vector<std::pair<std::optional<double>, QSizeF>> measured_;  ///< by proposed width
};

class ImageBox final : public ElementBox {
  public:
    static constexpr double kAssetSide = 128;  ///< natural size of an asset, points

    ImageBox(Host& h, QWidget* c) : ElementBox(h, c), widget_(new qt::ImageWidget(c)) {
        widget_->show();
    }
    ~ImageBox() override { delete widget_.data(); }
    bool accepts(const Element& e) const override {
        return std::holds_alternative<ImageElement>(e);
    }
    void update(const View& view, const EnvironmentValues& env) override {
        image_ = *view.as<ImageElement>();
        font_ = qt::environmentFont(env);
        widget_->set(image_, font_, qt::foregroundColor(env), env.scale);
    }
    QWidget* widget() const override { return widget_; }
    QSizeF sizeThatFits(const Proposal& p) override {
        QSizeF natural;
        if (image_.source == ImageElement::Source::asset) {
            natural =
                qt::hasImageAsset(image_.name) ? QSizeF(kAssetSide, kAssetSide) : QSizeF(0, 0);
        } else if (image_.source == ImageElement::Source::icon) {
            natural = QSizeF(image_.width, image_.height);
        } else {
            natural = qt::systemSymbolSize(image_.name, font_);
        }
        if (!image_.resizable)
            return natural;
        const bool w = finite(p.width);
        const bool h = finite(p.height);
        if (!w && !h)
            return natural;
        if (!image_.contentMode || natural.isEmpty()) {
            return {w ? *p.width : natural.width(), h ? *p.height : natural.height()};
        }
        const double aspect = natural.width() / natural.height();
        const double pw = w ? *p.width : *p.height * aspect;
        const double ph = h ? *p.height : *p.width / aspect;
        const bool fit = *image_.contentMode == ContentMode::fit;
        const double byWidth = pw / aspect;
        if ((byWidth <= ph) == fit)
            return {pw, byWidth};
        return {ph * aspect, ph};
    }
    void place(const QRectF& r) override { widget_->setGeometry(pixelRect(r)); }
    void describe(ElementInfo& info) const override { info.label = image_.name; }

  private:
    QPointer<qt::ImageWidget> widget_;
    ImageElement image_;
    QFont font_;
};

}  // namespace

std::unique_ptr<ElementBox> makeTextBox(Host& host, QWidget* container) {
    return std::make_unique<TextBox>(host, container);
}
std::unique_ptr<ElementBox> makeImageBox(Host& host, QWidget* container) {
    return std::make_unique<ImageBox>(host, container);
}

}  // namespace corvane::platform::ui
