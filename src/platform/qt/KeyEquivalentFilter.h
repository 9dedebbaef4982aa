#pragma once

#include <QObject>

namespace corvane::platform::qt {

/// Turns Qt key presses into key events for the window that shows them, first of all
/// offered as key equivalents. Ctrl plays the Command key's part on this desktop.
class KeyEquivalentFilter final : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace corvane::platform::qt
