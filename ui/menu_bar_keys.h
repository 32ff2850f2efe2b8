#pragma once
// The menu bar within the keyboard's reach though its captions have no
// mnemonics: Alt alone or F10 puts the focus on it, the arrows move, Enter or
// Down opens and chooses, Esc leaves.
class QMainWindow;

namespace vantrel::ui {

void ReachMenuBarByKeyboard(QMainWindow& window);

}  // namespace vantrel::ui
