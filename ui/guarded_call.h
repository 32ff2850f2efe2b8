#pragma once
// Event handlers run through Qt's event loop, which must not see an exception.
// Each handler body runs guarded: an escaping error goes to the standard error
// box and the event loop carries on.
#include <functional>

class QWidget;

namespace vantrel::ui {

// Runs action; returns false when it threw (the error has been shown).
bool RunGuarded(QWidget* owner, const std::function<void()>& action);

}  // namespace vantrel::ui
