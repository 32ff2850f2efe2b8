// Event handler bodies run guarded: an escaping error goes to the standard error box.
#include "ui/guarded_call.h"

#include <exception>

#include "ui/error_box.h"

namespace vantrel::ui {

bool RunGuarded(QWidget* owner, const std::function<void()>& action) {
    try {
        action();
        return true;
    } catch (const std::exception& error) {
        ShowErrorBox(owner, error.what());
    } catch (...) {
        // Nothing of ours throws another kind; whatever it is, the user is
        // told in the same box and the loop goes on.
        ShowErrorBox(owner, "Unknown error");
    }
    return false;
}

}  // namespace vantrel::ui
