// A dotted frame around a flat control while Tab has given it the focus.
#include "ui/keyboard_focus_mark.h"

#include <QEvent>
#include <QPainter>
#include <QWidget>

namespace vantrel::ui {
namespace {

class KeyboardFocusMark : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* control = static_cast<QWidget*>(watched);
        if (event->type() != QEvent::Paint || !control->hasFocus() ||
            !control->window()->testAttribute(Qt::WA_KeyboardFocusChange))
            return false;
        static_cast<QObject*>(control)->event(event);  // the control as ever, the frame over it
        QPainter painter(control);
        painter.setPen(QPen(control->palette().color(control->foregroundRole()), 1, Qt::DotLine));
        painter.drawRect(control->rect().adjusted(0, 0, -1, -1));
        return true;
    }
};

}  // namespace

void MarkKeyboardFocus(QWidget& control) {
    control.installEventFilter(new KeyboardFocusMark(&control));
}

}  // namespace vantrel::ui
