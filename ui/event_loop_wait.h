#pragma once
// A wait on the user-interface thread that keeps the program answering: at
// each of the wait's polls the events that came meanwhile are handled (the
// session asking the program to end, File/Exit, repaints), and the wait ends
// once the program is ending.
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
