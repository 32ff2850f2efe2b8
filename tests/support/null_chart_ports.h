#pragma once
// The chart core's ports answered by nothing: for benchmarks that load charts
// and must not pay for recording what the window would show.
#include <string>

#include "chart/window_ports.h"

namespace support {

class NullChartPorts : public chart::MessagePort, public chart::DocumentPort, public chart::DetailsPanel {
public:
    void ShowMessage(const std::string&) override {}
    void OpenDocument(const std::string&) override {}
    void Clear() override {}
    std::string Text() const override { return {}; }
    void SetText(const std::string&) override {}
};

}  // namespace support
