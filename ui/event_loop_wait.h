#pragma once
// A wait on the user-interface thread that keeps the program answering (the
// session's end, File/Exit, repaints) and ends once the program is ending.
#include <functional>

#include "chart/window_ports.h"

namespace vantrel::ui {

class EventLoopWait : public chart::WaitPort {
public:
    // ending: true once the program is ending.
    explicit EventLoopWait(std::function<bool()> ending) : ending_(std::move(ending)) {}
    bool KeepWaiting() override;

private:
    std::function<bool()> ending_;
};

}  // namespace vantrel::ui
