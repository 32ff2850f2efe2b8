#pragma once
// The wheel goes to the control that has the focus, wherever the pointer is:
// with the grid focused, a notch over the details panel (or the banner, or the
// status bar) still moves the grid's current cell, and with the panel focused
// a notch over the grid scrolls the panel.
#include <QObject>

class QWidget;

namespace vantrel::ui {

class WheelToFocus : public QObject {
    Q_OBJECT
public:
    // Watches the application's wheel events aimed anywhere inside window;
    // lives as long as window does.
    explicit WheelToFocus(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    bool forwarding_ = false;
};

}  // namespace vantrel::ui
