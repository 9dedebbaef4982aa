// Windows on Qt: a frameless top-level widget that draws its own title bar, so that frames,
// title bars and pictures are the same on every display (and offscreen).
#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "platform/appkit/NSAnimationContext.h"
#include "platform/appkit/NSApplication.h"
#include "platform/appkit/NSScreen.h"
#include "platform/appkit/NSWindow.h"
#include "platform/appkit/WindowPicture.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/qt/QtSupport.h"
#include "platform/qt/ViewImpl.h"
#include "platform/runtime/Runtime.h"

namespace corvane::platform {

namespace {

int nextWindowNumber = 1;

/// Seconds between the frames of a window animation.
constexpr double kAnimationFrame = 1.0 / 60;
/// The corner radius of titled windows, in points.
constexpr double kWindowCornerRadius = 10;

class WindowWidget;

/// Turns Qt key presses into key events for the window that shows them, first of all
/// offered as key equivalents. Ctrl plays the Command key's part on this desktop.
class KeyEquivalentFilter final : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

class WindowWidget final : public QWidget {
  public:
    explicit WindowWidget(NSWindow& owner) : owner_(owner) {
        setAttribute(Qt::WA_TranslucentBackground);
        static bool filterInstalled = false;
        if (!filterInstalled) {
            filterInstalled = true;
            qApp->installEventFilter(new KeyEquivalentFilter());
        }
    }
    NSWindow& owner() { return owner_; }
    double titlebarHeight = 0;

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QRectF closeButton() const { return QRectF(10, titlebarHeight / 2 - 6, 12, 12); }
    NSWindow& owner_;
};

NSEvent keyEventFrom(const QKeyEvent& key) {
    NSEvent event;
    event.type = NSEventType::keyDown;
    const auto mods = key.modifiers();
    if (mods & Qt::ShiftModifier)
        event.modifierFlags |= NSEventModifierFlagShift;
    if (mods & Qt::ControlModifier)
        event.modifierFlags |= NSEventModifierFlagCommand;
    if (mods & Qt::MetaModifier)
        event.modifierFlags |= NSEventModifierFlagControl;
    if (mods & Qt::AltModifier)
        event.modifierFlags |= NSEventModifierFlagOption;
    const int code = key.key();
    if (code >= Qt::Key_A && code <= Qt::Key_Z) {
        char c = static_cast<char>('a' + (code - Qt::Key_A));
        if (mods & Qt::ShiftModifier)
            c = static_cast<char>(c - 'a' + 'A');
        event.charactersIgnoringModifiers = std::string(1, c);
        event.characters = event.charactersIgnoringModifiers;
    } else if (code == Qt::Key_Return || code == Qt::Key_Enter) {
        event.charactersIgnoringModifiers = "\r";
        event.characters = "\r";
        event.keyCode = 36;
    } else if (code == Qt::Key_Escape) {
        event.charactersIgnoringModifiers = "\x1b";
        event.characters = "\x1b";
    } else if (!key.text().isEmpty()) {
        event.characters = key.text().toStdString();
        event.charactersIgnoringModifiers = event.characters;
    }
    return event;
}

bool KeyEquivalentFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr)
        return false;
    QWidget* top = widget->window();
    auto* window = dynamic_cast<WindowWidget*>(top);
    // A sheet or a popover offers its keys to the window that presents it.
    if (window == nullptr && top->parentWidget() != nullptr)
        window = dynamic_cast<WindowWidget*>(top->parentWidget()->window());
    // Only the window itself takes the event, not each widget it passes through.
    if (window == nullptr || (widget != QApplication::focusWidget() && widget != top))
        return false;
    return window->owner().performKeyEquivalent(keyEventFrom(*static_cast<QKeyEvent*>(event)));
}

// The offscreen platform has no window manager: no stacking order, no window opacity.
bool hasWindowManager() {
    return QGuiApplication::platformName() != "offscreen";
}

double titlebarHeightFor(const NSWindow& window) {
    if ((window.styleMask() & NSWindowStyleMaskTitled) == 0)
        return 0;
    if (!window.toolbar())
        return 28;
    switch (window.toolbarStyle()) {
        case NSWindowToolbarStyle::unifiedCompact:
            return 38;
        case NSWindowToolbarStyle::unified:
            return 52;
        default:
            return 78;
    }
}

}  // namespace

struct NSWindow::Impl {
    QPointer<WindowWidget> widget;
    NSWindowStyleMask styleMask = 0;
    std::string title;
    NSWindowTitleVisibility titleVisibility = NSWindowTitleVisibility::visible;
    bool titlebarTransparent = false;
    NSTitlebarSeparatorStyle separatorStyle = NSTitlebarSeparatorStyle::automatic;
    std::shared_ptr<NSToolbar> toolbar;
    NSWindowToolbarStyle toolbarStyle = NSWindowToolbarStyle::automatic;
    std::shared_ptr<NSViewController> contentViewController;
    std::shared_ptr<NSView> contentView;
    CGRect frame;
    NSWindowLevel level = NSNormalWindowLevel;
    bool releasedWhenClosed = true;
    bool opaque = true;
    ui::Color backgroundColor = ui::Color::rgb(236.0 / 255, 236.0 / 255, 236.0 / 255);
    bool ignoresMouse = false;
    double alpha = 1;
    bool visible = false;
    NSResponder* firstResponder = nullptr;
    std::uint64_t alphaAnimation = 0;
};

namespace {

void paintChrome(QPainter& p, const NSWindow& window, const QRect& bounds, double titlebar) {
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(bounds).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool titled = (window.styleMask() & NSWindowStyleMaskTitled) != 0;
    const ui::Color bg = window.backgroundColor();
    if (bg.opacityValue() > 0) {
        QPainterPath path;
        if (titled)
            path.addRoundedRect(r, kWindowCornerRadius, kWindowCornerRadius);
        else
            path.addRect(QRectF(bounds));
        p.fillPath(path, qt::toQColor(bg));
        if (titled) {
            p.setPen(QPen(QColor(0, 0, 0, 60), 1));
            p.drawPath(path);
        }
    }
    if (!titled)
        return;
    if (!window.titlebarAppearsTransparent()) {
        QPainterPath bar;
        bar.addRoundedRect(QRectF(r.x(), r.y(), r.width(), titlebar + kWindowCornerRadius),
                           kWindowCornerRadius, kWindowCornerRadius);
        p.save();
        p.setClipRect(QRectF(r.x(), r.y(), r.width(), titlebar));
        p.fillPath(bar, QColor(228, 228, 228));
        p.restore();
    }
    if (window.titlebarSeparatorStyle() != NSTitlebarSeparatorStyle::none &&
        !window.titlebarAppearsTransparent()) {
        p.fillRect(QRectF(r.x(), titlebar - 1, r.width(), 1), QColor(0, 0, 0, 30));
    }
    // The three window buttons; those the style mask lacks are drawn greyed.
    const QColor colors[3] = {
        (window.styleMask() & NSWindowStyleMaskClosable) ? QColor(255, 95, 87)
                                                         : QColor(205, 205, 205),
        (window.styleMask() & NSWindowStyleMaskMiniaturizable) ? QColor(254, 188, 46)
                                                               : QColor(205, 205, 205),
        (window.styleMask() & NSWindowStyleMaskResizable) ? QColor(40, 200, 64)
                                                          : QColor(205, 205, 205)};
    for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(colors[i].darker(115), 0.5));
        p.setBrush(colors[i]);
        p.drawEllipse(QRectF(10 + 20.0 * i, titlebar / 2 - 6, 12, 12));
    }
    if (window.titleVisibility() == NSWindowTitleVisibility::visible && !window.title().empty()) {
        QFont f = qt::toQFont(ui::Font::system(13, ui::Font::Weight::semibold));
        p.setFont(f);
        p.setPen(QColor(0, 0, 0, 200));
        const bool leading = window.toolbar() &&
                             window.toolbarStyle() != NSWindowToolbarStyle::expanded &&
                             window.toolbarStyle() != NSWindowToolbarStyle::preference;
        QRectF text(leading ? 80 : 70, 0, r.width() - (leading ? 90 : 140), titlebar);
        p.drawText(text, (leading ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter,
                   QString::fromStdString(window.title()));
    }
}

void WindowWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    paintChrome(p, owner_, rect(), titlebarHeight);
}

void WindowWidget::mousePressEvent(QMouseEvent* event) {
    if ((owner_.styleMask() & NSWindowStyleMaskClosable) &&
        closeButton().contains(event->position())) {
        owner_.performClose();
        return;
    }
    QWidget::mousePressEvent(event);
}

}  // namespace

NSWindow::NSWindow(CGRect contentRect, NSWindowStyleMask styleMask, NSBackingStoreType backing,
                   bool defer)
    : windowNumber_(nextWindowNumber++), impl_(std::make_unique<Impl>()) {
    (void)backing;  // every window is buffered here
    (void)defer;
    qt::ensureQtApplication();
    impl_->styleMask = styleMask;
    impl_->widget = new WindowWidget(*this);
    impl_->widget->titlebarHeight = titlebarHeightFor(*this);
    impl_->frame = frameRectForContentRect(contentRect);
    impl_->firstResponder = this;
    impl().widget->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
}

NSWindow::~NSWindow() {
    if (impl_->contentView && impl_->contentView->impl().widget) {
        impl_->contentView->impl().widget->setParent(nullptr);
        impl_->contentView->impl().window = nullptr;
    }
    delete impl_->widget.data();
}

namespace {

void syncGeometry(NSWindow& window) {
    auto& impl = window.impl();
    if (!impl.widget)
        return;
    const CGRect f = impl.frame;
    const auto screen = NSScreen::mainScreen();
    const double top = screen ? CGRectGetMaxY(screen->frame) : CGRectGetMaxY(f);
    impl.widget->titlebarHeight = titlebarHeightFor(window);
    impl.widget->setGeometry(static_cast<int>(std::lround(f.origin.x)),
                             static_cast<int>(std::lround(top - CGRectGetMaxY(f))),
                             static_cast<int>(std::lround(f.width)),
                             static_cast<int>(std::lround(f.height)));
    if (impl.contentView && impl.contentView->impl().widget) {
        const double bar = impl.widget->titlebarHeight;
        impl.contentView->impl().widget->setGeometry(0, static_cast<int>(bar),
                                                     static_cast<int>(std::lround(f.width)),
                                                     static_cast<int>(std::lround(f.height - bar)));
    }
    impl.widget->update();
}

void syncFlags(NSWindow& window) {
    auto& impl = window.impl();
    if (!impl.widget)
        return;
    Qt::WindowFlags flags = Qt::Window | Qt::FramelessWindowHint;
    if (impl.level >= NSFloatingWindowLevel)
        flags |= Qt::WindowStaysOnTopHint;
    if (impl.ignoresMouse)
        flags |= Qt::WindowTransparentForInput;
    if (impl.styleMask == NSWindowStyleMaskBorderless)
        flags |= Qt::Tool;
    if (impl.widget->windowFlags() == flags)
        return;
    const bool shown = impl.widget->isVisible();
    impl.widget->setWindowFlags(flags);
    if (shown)
        impl.widget->show();
}

}  // namespace

NSWindowStyleMask NSWindow::styleMask() const {
    return impl_->styleMask;
}
const std::string& NSWindow::title() const {
    return impl_->title;
}
void NSWindow::setTitle(std::string title) {
    impl_->title = std::move(title);
    if (impl_->widget) {
        impl_->widget->setWindowTitle(QString::fromStdString(impl_->title));
        impl_->widget->update();
    }
}
NSWindowTitleVisibility NSWindow::titleVisibility() const {
    return impl_->titleVisibility;
}
void NSWindow::setTitleVisibility(NSWindowTitleVisibility v) {
    impl_->titleVisibility = v;
}
bool NSWindow::titlebarAppearsTransparent() const {
    return impl_->titlebarTransparent;
}
void NSWindow::setTitlebarAppearsTransparent(bool t) {
    impl_->titlebarTransparent = t;
}
NSTitlebarSeparatorStyle NSWindow::titlebarSeparatorStyle() const {
    return impl_->separatorStyle;
}
void NSWindow::setTitlebarSeparatorStyle(NSTitlebarSeparatorStyle s) {
    impl_->separatorStyle = s;
}
const std::shared_ptr<NSToolbar>& NSWindow::toolbar() const {
    return impl_->toolbar;
}
void NSWindow::setToolbar(std::shared_ptr<NSToolbar> toolbar) {
    const CGSize content = contentSize();
    impl_->toolbar = std::move(toolbar);
    setContentSize(content);
}
NSWindowToolbarStyle NSWindow::toolbarStyle() const {
    return impl_->toolbarStyle;
}
void NSWindow::setToolbarStyle(NSWindowToolbarStyle style) {
    const CGSize content = contentSize();
    impl_->toolbarStyle = style;
    setContentSize(content);
}

const std::shared_ptr<NSViewController>& NSWindow::contentViewController() const {
    return impl_->contentViewController;
}
void NSWindow::setContentViewController(std::shared_ptr<NSViewController> controller) {
    impl_->contentViewController = std::move(controller);
    if (!impl_->contentViewController)
        return;
    auto view = impl_->contentViewController->sharedView();
    setContentView(view);
    setContentSize(view->fittingSize());
}
const std::shared_ptr<NSView>& NSWindow::contentView() const {
    return impl_->contentView;
}
void NSWindow::setContentView(std::shared_ptr<NSView> view) {
    if (impl_->contentView == view)
        return;
    if (impl_->contentView && impl_->contentView->impl().widget) {
        impl_->contentView->impl().widget->setParent(nullptr);
        impl_->contentView->impl().window = nullptr;
    }
    impl_->contentView = std::move(view);
    if (impl_->contentView && impl_->contentView->impl().widget) {
        impl_->contentView->impl().widget->setParent(impl_->widget);
        impl_->contentView->impl().widget->show();
        impl_->contentView->impl().window = this;
    }
    syncGeometry(*this);
}
void NSWindow::setContentSize(CGSize size) {
    const double top = CGRectGetMaxY(impl_->frame);
    CGRect frame =
        frameRectForContentRect(CGRectMake(impl_->frame.origin.x, 0, size.width, size.height));
    frame.origin.y = top - frame.height;
    impl_->frame = frame;
    syncGeometry(*this);
}
CGSize NSWindow::contentSize() const {
    return sizeOf(contentRectForFrameRect(impl_->frame));
}

CGRect NSWindow::frame() const {
    return impl_->frame;
}
void NSWindow::setFrame(CGRect frame, bool display, bool animate) {
    (void)display;
    (void)animate;  // the frame read back is the final one either way
    impl_->frame = frame;
    syncGeometry(*this);
}
void NSWindow::setFrameOrigin(CGPoint origin) {
    impl_->frame.origin = origin;
    syncGeometry(*this);
}
CGRect NSWindow::frameRectForContentRect(CGRect r) const {
    r.height += titlebarHeightFor(*this);
    return r;
}
CGRect NSWindow::contentRectForFrameRect(CGRect r) const {
    r.height = std::max(0.0, r.height - titlebarHeightFor(*this));
    return r;
}

NSWindowLevel NSWindow::level() const {
    return impl_->level;
}
void NSWindow::setLevel(NSWindowLevel level) {
    impl_->level = level;
    syncFlags(*this);
}
bool NSWindow::isReleasedWhenClosed() const {
    return impl_->releasedWhenClosed;
}
void NSWindow::setReleasedWhenClosed(bool released) {
    impl_->releasedWhenClosed = released;
}
bool NSWindow::isOpaque() const {
    return impl_->opaque;
}
void NSWindow::setOpaque(bool opaque) {
    impl_->opaque = opaque;
}
ui::Color NSWindow::backgroundColor() const {
    return impl_->backgroundColor;
}
void NSWindow::setBackgroundColor(ui::Color color) {
    impl_->backgroundColor = color;
    if (impl_->widget)
        impl_->widget->update();
}
bool NSWindow::ignoresMouseEvents() const {
    return impl_->ignoresMouse;
}
void NSWindow::setIgnoresMouseEvents(bool ignores) {
    impl_->ignoresMouse = ignores;
    syncFlags(*this);
}
double NSWindow::alphaValue() const {
    return impl_->alpha;
}
void NSWindow::setAlphaValue(double alpha) {
    impl_->alpha = std::clamp(alpha, 0.0, 1.0);
    if (impl_->widget && hasWindowManager())
        impl_->widget->setWindowOpacity(impl_->alpha);
}

void NSWindowAnimator::setAlphaValue(double alpha) {
    NSAnimationContext* context = NSAnimationContext::current();
    auto& impl = window_.impl();
    const std::uint64_t animation = ++impl.alphaAnimation;
    if (context == nullptr || context->duration() <= 0) {
        window_.setAlphaValue(alpha);
        return;
    }
    const double from = window_.alphaValue();
    const double duration = context->duration();
    auto ended = context->beginAnimation();
    std::weak_ptr<NSWindow> weak = window_.weak_from_this();
    const int frames = std::max(1, static_cast<int>(std::ceil(duration / kAnimationFrame - 1e-9)));
    for (int k = 1; k <= frames; ++k) {
        const bool last = k == frames;
        const double at = last ? duration : k * kAnimationFrame;
        runtime().mainQueue().asyncAfter(
            at, [weak, animation, from, alpha, at, duration, last, ended] {
                auto window = weak.lock();
                // A newer animation of the same property takes over from this one.
                if (window && window->impl().alphaAnimation == animation) {
                    window->setAlphaValue(last ? alpha : from + (alpha - from) * (at / duration));
                }
                if (last)
                    ended();
            });
    }
}

void NSWindow::center() {
    const auto screen = NSScreen::mainScreen();
    if (!screen)
        return;
    const CGRect v = screen->visibleFrame;
    const double x = CGRectGetMidX(v) - impl_->frame.width / 2;
    // Somewhat above the middle: a third of the free height above, two thirds below.
    const double y = v.origin.y + (v.height - impl_->frame.height) * 2 / 3;
    setFrameOrigin({std::round(x), std::round(y)});
}

namespace {
void show(NSWindow& window, bool makeKey) {
    auto& impl = window.impl();
    const bool appearing = !impl.visible;
    if (appearing && impl.contentViewController)
        impl.contentViewController->viewWillAppear();
    impl.visible = true;
    if (impl.widget) {
        syncFlags(window);
        impl.widget->setAttribute(Qt::WA_ShowWithoutActivating, !makeKey);
        impl.widget->show();
        if (hasWindowManager())
            impl.widget->raise();
        if (makeKey && hasWindowManager())
            impl.widget->activateWindow();
    }
    if (auto self = window.weak_from_this().lock())
        NSApplication::shared().windowOrderedFront(self, makeKey);
    if (appearing && impl.contentViewController)
        impl.contentViewController->viewDidAppear();
}
}  // namespace

void NSWindow::makeKeyAndOrderFront() {
    show(*this, true);
}
void NSWindow::orderFront() {
    show(*this, false);
}
void NSWindow::orderFrontRegardless() {
    show(*this, false);
}
void NSWindow::orderOut() {
    impl_->visible = false;
    if (impl_->widget)
        impl_->widget->hide();
    NSApplication::shared().windowOrderedOut(*this);
}
bool NSWindow::isVisible() const {
    return impl_->visible;
}
bool NSWindow::isKeyWindow() const {
    return NSApplication::shared().keyWindow() == this;
}

void NSWindow::close() {
    // The notification's observers may drop the last other reference to this window.
    auto keep = weak_from_this().lock();
    NotificationCenter::defaultCenter().post(NSWindowWillCloseNotification,
                                             {{"windowNumber", windowNumber_}});
    orderOut();
}
void NSWindow::performClose() {
    close();
}

NSResponder* NSWindow::firstResponder() const {
    return impl_->firstResponder;
}
bool NSWindow::makeFirstResponder(NSResponder* responder) {
    impl_->firstResponder = responder != nullptr ? responder : this;
    return true;
}

bool NSWindow::performKeyEquivalent(const NSEvent& event) {
    return impl_->contentView && impl_->contentView->performKeyEquivalent(event);
}

void NSWindow::sendEvent(const NSEvent& event) {
    if (event.type != NSEventType::keyDown)
        return;
    if (performKeyEquivalent(event))
        return;
    if (NSResponder* responder = firstResponder(); responder != nullptr && responder != this) {
        responder->keyDown(event);
    }
}

bool writeWindowPicture(NSWindow& window, const std::string& path) {
    auto* widget = window.impl().widget.data();
    if (widget == nullptr)
        return false;
    if (window.contentView()) {
        if (auto* hosting = dynamic_cast<NSHostingView*>(window.contentView().get()))
            hosting->updateNow();
    }
    QImage image(widget->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (!window.isOpaque()) {
        // What shows through a translucent window: a plain desktop.
        QPainter backdrop(&image);
        QLinearGradient desktop(0, 0, image.width(), image.height());
        desktop.setColorAt(0, QColor(96, 120, 160));
        desktop.setColorAt(1, QColor(150, 110, 140));
        backdrop.fillRect(image.rect(), desktop);
    }
    widget->render(&image, QPoint(), QRegion(),
                   QWidget::DrawWindowBackground | QWidget::DrawChildren);
    return image.save(QString::fromStdString(path), "PNG");
}

}  // namespace corvane::platform
