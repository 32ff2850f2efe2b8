#pragma once
// The wheel goes to the control that has the focus, wherever the pointer is
// (a notch over the details panel still moves a focused grid's current cell).
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
