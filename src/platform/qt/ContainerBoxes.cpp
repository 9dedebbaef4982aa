// The boxes that hold child nodes in a layout of their own: stacks, lists and group boxes.
#include <QCoreApplication>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/qt/ElementBox.h"
#include "platform/qt/Host.h"
#include "platform/qt/LayoutGeometry.h"
#include "platform/qt/NodeBoxImpl.h"
#include "platform/qt/Widgets.h"

namespace corvane::platform::ui {

using namespace geometry;

/// Matches new child views to mounted nodes: by identity when a view has one, else by
/// position; matched nodes are updated in place, others mounted anew or dropped.
std::vector<std::shared_ptr<NodeBox>> reconcileChildren(Host& host, QWidget* container,
                                                        std::vector<std::shared_ptr<NodeBox>> old,
                                                        const std::vector<View>& views,
                                                        const EnvironmentValues& env,
                                                        std::optional<Axis> axis) {
    std::vector<std::shared_ptr<NodeBox>> next;
    std::vector<bool> used(old.size(), false);
    for (std::size_t i = 0; i < views.size(); ++i) {
        const View& view = views[i];
        std::string identity;
        if (const auto* id = view.modifier<IdModifier>())
            identity = id->id;
        else if (const auto* tag = view.modifier<TagModifier>())
            identity = tag->tag;
        std::shared_ptr<NodeBox> match;
        if (!identity.empty()) {
            for (std::size_t j = 0; j < old.size(); ++j) {
                if (!used[j] && old[j] && old[j]->identity() == identity) {
                    match = old[j];
                    used[j] = true;
                    break;
                }
            }
        } else if (i < old.size() && !used[i] && old[i] && old[i]->identity().empty()) {
            match = old[i];
            used[i] = true;
        }
        if (match && match->update(view, env)) {
            next.push_back(match);
        } else {
            next.push_back(NodeBox::mount(host, container, view, env, axis));
        }
    }
    return next;
}

namespace {

class StackBox final : public ElementBox {
  public:
    using ElementBox::ElementBox;
    bool accepts(const Element& e) const override {
        const auto* s = std::get_if<StackElement>(&e);
        return s != nullptr && s->axis == stack_.axis;
    }
    void setAxis(Axis axis) { stack_.axis = axis; }
    void update(const View& view, const EnvironmentValues& env) override {
        stack_ = *view.as<StackElement>();
        reconcile(view.children(), env);
    }
    QSizeF sizeThatFits(const Proposal& p) override {
        std::vector<QSizeF> sizes;
        return measure(p, sizes);
    }
    void place(const QRectF& r) override {
        std::vector<QSizeF> sizes;
        measure({r.width(), r.height()}, sizes);
        const Axis ax = stack_.axis;
        double cursor = ax == Axis::horizontal ? r.x() : r.y();
        const double crossStart = ax == Axis::horizontal ? r.y() : r.x();
        const double crossLength = ax == Axis::horizontal ? r.height() : r.width();
        const auto gaps = spacings();
        for (std::size_t i = 0; i < children_.size(); ++i) {
            const QSizeF s = sizes[i];
            const double free = crossLength - acrossOf(s, ax);
            const double offset = ax == Axis::horizontal
                                      ? offsetFor(stack_.verticalAlignment, free)
                                      : offsetFor(stack_.horizontalAlignment, free);
            QRectF rect = ax == Axis::horizontal
                              ? QRectF(cursor, crossStart + offset, s.width(), s.height())
                              : QRectF(crossStart + offset, cursor, s.width(), s.height());
            children_[i]->place(rect);
            cursor += alongOf(s, ax) + gaps[i];
        }
    }
    void collectChildren(std::vector<std::shared_ptr<NodeBox>>& into) const override {
        into.insert(into.end(), children_.begin(), children_.end());
    }

  private:
    // The gap after each child (none after the last shown one). Without an explicit
    // spacing, a spacer stands next to its neighbours with no gap of its own.
    std::vector<double> spacings() const {
        std::vector<double> gaps(children_.size(), 0);
        std::optional<std::size_t> previous;
        for (std::size_t i = 0; i < children_.size(); ++i) {
            if (children_[i]->isEmpty())
                continue;
            if (previous) {
                double gap = stack_.spacing.value_or(
                    children_[*previous]->isSpacer() || children_[i]->isSpacer() ? 0
                                                                                 : kDefaultSpacing);
                gaps[*previous] = gap;
            }
            previous = i;
        }
        return gaps;
    }
    QSizeF measure(const Proposal& p, std::vector<QSizeF>& sizes) {
        const Axis ax = stack_.axis;
        const auto along = alongOf(p, ax);
        const auto across = acrossOf(p, ax);
        const auto gaps = spacings();
        double spacing = 0;
        for (double g : gaps)
            spacing += g;
        sizes.assign(children_.size(), QSizeF(0, 0));
        if (!finite(along)) {
            for (std::size_t i = 0; i < children_.size(); ++i) {
                sizes[i] = children_[i]->sizeThatFits(proposalOn(ax, along, across));
            }
        } else {
            // The least flexible child is offered its share first; what it leaves goes to
            // the others. Spacers give way: the other children share the length less the
            // spacers' minimum lengths, and the spacers share what those leave.
            struct Entry {
                bool spacer;
                double flexibility;
                std::size_t index;
            };
            std::vector<Entry> order;
            double reserved = 0;
            std::size_t spacers = 0;
            for (std::size_t i = 0; i < children_.size(); ++i) {
                if (children_[i]->isEmpty())
                    continue;
                const double least =
                    alongOf(children_[i]->sizeThatFits(proposalOn(ax, 0.0, across)), ax);
                const double most =
                    alongOf(children_[i]->sizeThatFits(proposalOn(ax, kInfinity, across)), ax);
                const bool spacer = children_[i]->isSpacer();
                if (spacer) {
                    reserved += least;
                    ++spacers;
                }
                order.push_back({spacer, most - least, i});
            }
            std::stable_sort(order.begin(), order.end(), [](const Entry& a, const Entry& b) {
                return a.spacer != b.spacer ? b.spacer : a.flexibility < b.flexibility;
            });
            double remaining = std::max(0.0, *along - spacing - reserved);
            std::size_t left = order.size() - spacers;
            for (const Entry& entry : order) {
                if (entry.spacer && left == 0) {
                    remaining += reserved;  // the spacers' turn
                    reserved = 0;
                    left = spacers;
                }
                const double share = remaining / static_cast<double>(left--);
                sizes[entry.index] =
                    children_[entry.index]->sizeThatFits(proposalOn(ax, share, across));
                remaining = std::max(0.0, remaining - alongOf(sizes[entry.index], ax));
            }
        }
        double total = spacing;
        double cross = 0;
        for (const QSizeF& s : sizes) {
            total += alongOf(s, ax);
            cross = std::max(cross, acrossOf(s, ax));
        }
        return sizeOn(ax, total, cross);
    }
    void reconcile(const std::vector<View>& views, const EnvironmentValues& env);

    StackElement stack_;
    std::vector<std::shared_ptr<NodeBox>> children_;
};

void StackBox::reconcile(const std::vector<View>& views, const EnvironmentValues& env) {
    children_ = reconcileChildren(host_, container_, std::move(children_), views, env, stack_.axis);
}

// A list builds the widgets of a row only when the row comes into view (or someone reads
// the rows), as a table view does: opening a long list costs what its visible rows cost.
// Rows out of view keep the view they were last given and catch up when they are shown.
class ListBox final : public ElementBox {
  public:
    static constexpr double kRowInsetV = 4;  ///< points above and below each row
    static constexpr double kRowInsetH = 8;  ///< points before and after each row
    static constexpr double kFrameInset = 2;
    static constexpr double kFirstRowEstimate = 24;  ///< points, until a row was measured

    ListBox(Host& h, QWidget* c) : ElementBox(h, c), frame_(new qt::ListFrameWidget(c)) {
        frame_->show();
        QObject::connect(frame_->verticalScrollBar(), &QScrollBar::valueChanged, frame_,
                         [this] { layoutRows(); });
    }
    ~ListBox() override {
        rows_.clear();
        delete frame_.data();
    }
    bool accepts(const Element& e) const override { return std::holds_alternative<ListElement>(e); }
    void update(const View& view, const EnvironmentValues& env) override {
        list_ = *view.as<ListElement>();
        env_ = env;
        env_.truncatesTexts = true;  // a row's name ends in "…" rather than widen the row
        frame_->setBordered(env.listStyle == ListStyle::automatic);
        frame_->setEnabled(env.isEnabled);
        const auto shown = std::exchange(
            source_, list_.rows ? list_.rows : std::make_shared<const ChildRows>(view));
        if (!shown || !sameIdentities(*shown))
            matchRows(shown.get());
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            Row& row = rows_[i];
            row.index = i;
            row.current = false;
            if (row.widget)
                showSelection(row);
        }
        measured_.clear();
    }
    QWidget* widget() const override { return frame_; }
    QSizeF sizeThatFits(const Proposal& p) override {
        if (p.width && p.height)
            return {*p.width, *p.height};
        // Without both lengths the list's size is that of all its rows.
        for (const auto& [proposal, size] : measured_) {
            if (proposal == p)
                return size;
        }
        double width = 0;
        double height = 2 * kFrameInset;
        for (auto& row : rows_) {
            realize(row);
            QSizeF s = row.node->sizeThatFits(
                {shrink(p.width, 2 * (kRowInsetH + kFrameInset)), std::nullopt});
            width = std::max(width, s.width() + 2 * (kRowInsetH + kFrameInset));
            height += s.height() + 2 * kRowInsetV;
        }
        deliverPolishRequests();
        const QSizeF size(p.width.value_or(width), p.height.value_or(height));
        measured_.emplace_back(p, size);
        return size;
    }
    void place(const QRectF& r) override {
        frame_->setGeometry(pixelRect(r));
        const double width = std::max(0.0, r.width() - 2 * kFrameInset);
        if (!shown_ || shown_->width() != width) {
            for (auto& row : rows_) {
                row.height.reset();
                row.placed = QRectF();
            }
        }
        shown_ = QSizeF(width, std::max(0.0, r.height() - 2 * kFrameInset));
        layoutRows();
    }
    void realizeChildren() override {
        for (auto& row : rows_)
            realize(row);
        if (shown_)
            layoutRows(true);
    }
    void collectChildren(std::vector<std::shared_ptr<NodeBox>>& into) const override {
        for (const auto& row : rows_) {
            if (row.node)
                into.push_back(row.node);
        }
    }

  private:
    /// The rows of a list given as its node's children, known by their id, else their tag.
    class ChildRows final : public RowSource {
      public:
        explicit ChildRows(View list) : list_(std::move(list)) {
            identities_.reserve(list_.children().size());
            for (const View& row : list_.children()) {
                if (const auto* id = row.modifier<IdModifier>())
                    identities_.push_back(id->id);
                else if (const auto* tag = row.modifier<TagModifier>())
                    identities_.push_back(tag->tag);
                else
                    identities_.emplace_back();
            }
        }
        std::size_t size() const override { return identities_.size(); }
        const std::string& identity(std::size_t index) const override { return identities_[index]; }
        View row(std::size_t index) const override { return list_.children()[index]; }

      private:
        View list_;
        std::vector<std::string> identities_;
    };

    struct Row {
        std::size_t index = 0;           ///< in the latest rows
        std::optional<std::string> tag;  ///< of the view last built
        QPointer<qt::RowWidget> widget;  ///< none until the row is first needed
        std::shared_ptr<NodeBox> node;
        bool current = false;          ///< the node shows the row's latest view
        bool inView = false;           ///< in or near the visible part at the last layout
        std::optional<double> height;  ///< measured, insets included, at the shown width
        QRectF placed;                 ///< the row widget's rectangle last set
    };

    // `rows_[i]` is row `i` of the rows shown before the latest ones, whose identities say
    // which widgets a latest row keeps.

    /// Whether the latest rows are those `shown`, each with an identity, in the same order.
    bool sameIdentities(const RowSource& shown) const {
        if (source_->size() != shown.size())
            return false;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const std::string& identity = source_->identity(i);
            if (identity.empty() || identity != shown.identity(i))
                return false;
        }
        return true;
    }
    /// Rows keep their widgets (and the state inside them) by identity; rows that share one
    /// are matched in order. The rows left over are dropped.
    void matchRows(const RowSource* shown) {
        std::unordered_map<std::string_view, std::vector<std::size_t>> byIdentity;
        for (std::size_t i = shown ? rows_.size() : 0; i-- > 0;) {
            if (const std::string& identity = shown->identity(i); !identity.empty())
                byIdentity[identity].push_back(i);
        }
        std::vector<Row> next;
        const std::size_t count = source_->size();
        next.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            const std::string& identity = source_->identity(i);
            Row row;
            if (!identity.empty()) {
                if (auto found = byIdentity.find(identity);
                    found != byIdentity.end() && !found->second.empty()) {
                    row = std::move(rows_[found->second.back()]);
                    found->second.pop_back();
                }
            }
            next.push_back(std::move(row));
        }
        for (auto& old : rows_)
            release(old);
        rows_ = std::move(next);
    }
    /// Builds the row's widgets, or brings them up to its latest view.
    void realize(Row& row) {
        if (row.current)
            return;
        const View view = source_->row(row.index);
        const auto* tag = view.modifier<TagModifier>();
        row.tag = tag ? std::optional(tag->tag) : std::nullopt;
        if (!row.widget) {
            row.widget = new qt::RowWidget(frame_->content());
            row.widget->show();
        }
        if (!row.node || !row.node->update(view, env_))
            row.node = NodeBox::mount(host_, row.widget, view, env_, Axis::horizontal);
        row.current = true;
        row.height.reset();
        row.placed = QRectF();
        showSelection(row);
        built_ = true;
    }
    // Every new widget asks to be polished through a posted event; where nothing delivers
    // them (the simulated session runs no Qt event loop) they pile up, and each widget's
    // deletion searches the pile. The rows' requests are delivered once they are built.
    void deliverPolishRequests() {
        if (!built_)
            return;
        built_ = false;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::PolishRequest);
    }
    static void release(Row& row) {
        row.node.reset();
        delete row.widget.data();
        row.placed = QRectF();
    }
    void showSelection(Row& row) {
        row.widget->onClick = [this, tag = row.tag] {
            if (list_.selection && tag) {
                list_.selection->set(tag);
                host_.invalidate();
            }
        };
        const bool selected = list_.selection && row.tag && list_.selection->get() == row.tag;
        row.widget->setSelected(selected);
        if (row.node)
            row.node->impl().rowSelected = selected;
    }
    /// Builds and measures the rows in view (or `all`) and places every row that has
    /// widgets; the others only take their room, as last measured or as a row usually does.
    void layoutRows(bool all = false) {
        if (!shown_ || laying_)
            return;
        laying_ = true;
        const double width = shown_->width();
        const double inner = std::max(0.0, width - 2 * kRowInsetH);
        const double top = frame_->verticalScrollBar()->value();
        // A view's height more on either side, so a short scroll finds its rows built.
        const double from = top - shown_->height();
        const double to = top + 2 * shown_->height();
        double y = kFrameInset;
        for (auto& row : rows_) {
            row.inView = y < to && y + row.height.value_or(estimate_) > from;
            if (all || row.inView) {
                realize(row);
                if (!row.height) {
                    row.height =
                        row.node->sizeThatFits({inner, std::nullopt}).height() + 2 * kRowInsetV;
                    estimate_ = *row.height;
                }
            }
            const double h = row.height.value_or(estimate_);
            const QRectF rect(kFrameInset, y, width, h);
            if (row.widget && rect != row.placed) {
                row.widget->setGeometry(pixelRect(rect));
                row.node->place(QRectF(kRowInsetH, kRowInsetV, inner, h - 2 * kRowInsetV));
                row.placed = rect;
            }
            y += h;
        }
        frame_->content()->resize(static_cast<int>(std::ceil(width + 2 * kFrameInset)),
                                  static_cast<int>(std::ceil(y + kFrameInset)));
        deliverPolishRequests();
        laying_ = false;
        // A shorter list moves the scroll position up: the rows now in view are built too.
        if (frame_->verticalScrollBar()->value() != top)
            layoutRows(all);
    }

    QPointer<qt::ListFrameWidget> frame_;
    ListElement list_;
    EnvironmentValues env_;
    std::shared_ptr<const RowSource> source_;  ///< the latest rows
    std::vector<Row> rows_;
    std::vector<std::pair<Proposal, QSizeF>> measured_;  ///< since the last update
    std::optional<QSizeF> shown_;                        ///< the room inside the frame, once placed
    double estimate_ = kFirstRowEstimate;                ///< the height of the row measured last
    bool laying_ = false;
    bool built_ = false;  ///< rows were built since the polish requests were delivered
};

class GroupBoxBox final : public ElementBox {
  public:
    static constexpr double kInset = 10;    ///< points inside the panel
    static constexpr double kLabelGap = 6;  ///< points between label and panel

    GroupBoxBox(Host& h, QWidget* c) : ElementBox(h, c), panel_(new qt::GroupPanelWidget(c)) {
        panel_->show();
    }
    ~GroupBoxBox() override {
        label_.reset();
        content_.reset();
        delete panel_.data();
    }
    bool accepts(const Element& e) const override {
        return std::holds_alternative<GroupBoxElement>(e);
    }
    void update(const View& view, const EnvironmentValues& env) override {
        const View label = view.children().size() > 0 ? view.children()[0] : EmptyView();
        const View content = view.children().size() > 1 ? view.children()[1] : EmptyView();
        if (!label_ || !label_->update(label, env))
            label_ = NodeBox::mount(host_, container_, label, env, {});
        if (!content_ || !content_->update(content, env)) {
            content_ = NodeBox::mount(host_, panel_, content, env, {});
        }
    }
    QWidget* widget() const override { return panel_; }
    QSizeF sizeThatFits(const Proposal& p) override {
        QSizeF label = label_->sizeThatFits({p.width, std::nullopt});
        QSizeF content =
            content_->sizeThatFits({shrink(p.width, 2 * kInset),
                                    shrink(p.height, label.height() + kLabelGap + 2 * kInset)});
        return {std::max(label.width(), content.width() + 2 * kInset),
                label.height() + kLabelGap + content.height() + 2 * kInset};
    }
    void place(const QRectF& r) override {
        QSizeF label = label_->sizeThatFits({r.width(), std::nullopt});
        label_->place(QRectF(r.x(), r.y(), r.width(), label.height()));
        const double top = label.height() + kLabelGap;
        QRectF panel(r.x(), r.y() + top, r.width(), std::max(0.0, r.height() - top));
        panel_->setGeometry(pixelRect(panel));
        content_->place(QRectF(kInset, kInset, std::max(0.0, panel.width() - 2 * kInset),
                               std::max(0.0, panel.height() - 2 * kInset)));
    }
    void collectChildren(std::vector<std::shared_ptr<NodeBox>>& into) const override {
        into.push_back(label_);
        into.push_back(content_);
    }

  private:
    QPointer<qt::GroupPanelWidget> panel_;
    std::shared_ptr<NodeBox> label_;
    std::shared_ptr<NodeBox> content_;
};

}  // namespace

std::unique_ptr<ElementBox> makeStackBox(Host& host, QWidget* container, Axis axis) {
    auto box = std::make_unique<StackBox>(host, container);
    box->setAxis(axis);
    return box;
}
std::unique_ptr<ElementBox> makeListBox(Host& host, QWidget* container) {
    return std::make_unique<ListBox>(host, container);
}
std::unique_ptr<ElementBox> makeGroupBoxBox(Host& host, QWidget* container) {
    return std::make_unique<GroupBoxBox>(host, container);
}

}  // namespace corvane::platform::ui
