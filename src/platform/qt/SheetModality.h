#pragma once

#include <QObject>

class QWidget;

namespace corvane::platform::qt {

/// Whether input aimed at `widget` is ignored because a sheet is up: its window shows a sheet,
/// or it lies in a popover of such a window. Only the sheet and the popovers it presents take
/// clicks and keys then.
bool isBlockedBySheet(const QWidget& widget);

/// Drops the clicks, drags, wheel turns and keys aimed at a widget that a sheet blocks, as a
/// disabled control ignores them.
class SheetModalityFilter final : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

/// Installs the application's filters of window input once: key equivalents, and before them
/// the sheets' modality, so that a blocked window's keys are not offered as key equivalents.
void installWindowInputFilters();

}  // namespace corvane::platform::qt
