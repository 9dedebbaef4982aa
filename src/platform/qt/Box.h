#pragma once

#include <QRectF>
#include <QSizeF>
#include <optional>

namespace corvane::platform::ui {

/// What a parent offers a child: a width and a height in points, each absent ("take your
/// ideal length") or possibly infinite.
struct Proposal {
    std::optional<double> width;
    std::optional<double> height;
    bool operator==(const Proposal&) const = default;
};

/// One box of the laid-out tree: it answers what size it takes for a proposal, and is told
/// the rectangle it got, in the coordinates of the widget it lives in.
class Box {
  public:
    virtual ~Box() = default;
    virtual QSizeF sizeThatFits(const Proposal& proposal) = 0;
    virtual void place(const QRectF& rect) = 0;
};

}  // namespace corvane::platform::ui
