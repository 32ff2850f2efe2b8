#pragma once
// A dotted frame around a control while it has the focus from the keyboard
// (Tab): controls drawn flat, with no focus look of their own (the about box's
// links and CLOSE), show where the keyboard is, and look as designed
// otherwise (the focus a window gives when it is shown is not marked).
class QWidget;

namespace vantrel::ui {

void MarkKeyboardFocus(QWidget& control);

}  // namespace vantrel::ui
