// A wait that keeps the window answering and ends once the program is ending.
#include "ui/event_loop_wait.h"

#include <QCoreApplication>

namespace vantrel::ui {

bool EventLoopWait::KeepWaiting() {
    QCoreApplication::processEvents();
    return !(ending_ && ending_());
}

}  // namespace vantrel::ui
