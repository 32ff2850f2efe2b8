#pragma once
// A dotted frame around a flat control (the about box's links and CLOSE)
// while Tab has given it the focus; the focus a window gives a control when
// it is shown is not marked, so the window at rest looks as designed.
class QWidget;

namespace vantrel::ui {

void MarkKeyboardFocus(QWidget& control);

}  // namespace vantrel::ui
