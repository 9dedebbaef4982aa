#pragma once

#include <QWidget>
#include <functional>
#include <vector>

namespace corvane::platform::qt {

/// A top-level window showing a popover's or a sheet's content; tells when it closes.
class PresentationWindow : public QWidget {
  public:
    PresentationWindow(QWidget* parent, bool sheet);
    ~PresentationWindow() override;
    bool isSheet() const { return sheet_; }
    /// The sheets that exist now, shown or not.
    static const std::vector<const PresentationWindow*>& sheets();
    std::function<void()> onClosedByUser;
    bool closingByBinding = false;

  protected:
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    bool sheet_;
};

}  // namespace corvane::platform::qt
