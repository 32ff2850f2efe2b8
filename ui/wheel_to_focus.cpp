// The wheel's events sent to the control that has the focus.
#include "ui/wheel_to_focus.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QScopedValueRollback>
#include <QWheelEvent>

namespace vantrel::ui {

WheelToFocus::WheelToFocus(QWidget* window) : QObject(window), window_(window) {
    // The wheel event is sent to the widget under the pointer; only the
    // application sees it before that widget does.
    qApp->installEventFilter(this);
}

bool WheelToFocus::eventFilter(QObject* watched, QEvent* event) {
    if (forwarding_ || event->type() != QEvent::Wheel)
        return false;
    auto* under = qobject_cast<QWidget*>(watched);
    QWidget* focus = QApplication::focusWidget();
    if (!under || under->window() != window_ || !focus || focus->window() != window_)
        return false;
    if (focus == under || focus->isAncestorOf(under))
        return false;  // already on its way to the focused control

    // A scroll area takes its wheel through its viewport.
    QWidget* receiver = focus;
    if (auto* area = qobject_cast<QAbstractScrollArea*>(focus))
        receiver = area->viewport();
    const auto* wheel = static_cast<QWheelEvent*>(event);
    QWheelEvent forwarded(receiver->mapFromGlobal(wheel->globalPosition()), wheel->globalPosition(),
                          wheel->pixelDelta(), wheel->angleDelta(), wheel->buttons(),
                          wheel->modifiers(), wheel->phase(), wheel->inverted(),
                          Qt::MouseEventNotSynthesized, wheel->pointingDevice());
    // If the focused control passes the wheel on to its parents, it ends there.
    const QScopedValueRollback<bool> once(forwarding_, true);
    QApplication::sendEvent(receiver, &forwarded);
    event->accept();  // taken: not offered to the pointed-at widget's parents either
    return true;
}

}  // namespace vantrel::ui
