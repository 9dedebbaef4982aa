#pragma once

#include <QPointer>
#include <QRectF>
#include <QSizeF>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/qt/ElementBox.h"
#include "platform/qt/ModifierLayers.h"
#include "platform/qt/NodeBox.h"
#include "platform/qt/Presentation.h"

namespace corvane::platform::ui {

/// The state of a mounted node: its view and environment, the boxes of its modifiers and its
/// element, the presentations it shows and the sizes it measured.
struct NodeBox::Impl {
    Impl(Host& h, QWidget* c, std::optional<Axis> a) : host(h), container(c), axis(a) {}
    Host& host;
    QPointer<QWidget> container;
    std::optional<Axis> axis;
    View view;
    EnvironmentValues env;
    std::string signature;
    std::vector<std::unique_ptr<LayerBox>> layers;  // outermost first
    std::unique_ptr<ElementBox> element;
    std::vector<AnyEquatable> seen;  // per change observer, in modifier order
    std::vector<std::unique_ptr<Presentation>> presentations;
    QRectF placed;
    bool rowSelected = false;
    std::uint64_t cacheGeneration = 0;
    std::vector<std::pair<Proposal, QSizeF>> cache;

    Box& outer() { return layers.empty() ? static_cast<Box&>(*element) : *layers.front(); }
    QWidget* elementContainer() const {
        for (auto it = layers.rbegin(); it != layers.rend(); ++it) {
            if (QWidget* w = (*it)->widget())
                return w;
        }
        return container;
    }
};

}  // namespace corvane::platform::ui
