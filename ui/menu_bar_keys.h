#pragma once
// The menu bar within the keyboard's reach, as on the desktop the window was
// designed for, though its captions have no mnemonics: Alt pressed and let go
// alone, or F10, puts the focus on the menu bar (its first menu highlighted);
// the arrows move between menus and items, Enter or Down opens and chooses,
// Esc leaves.
class QMainWindow;

namespace vantrel::ui {

void ReachMenuBarByKeyboard(QMainWindow& window);

}  // namespace vantrel::ui
