#pragma once
// Records what the chart core asked of the window: messages shown, documents
// opened (each also in one log, in order) and the details panel's text.
#include <string>
#include <vector>

#include "chart/window_ports.h"

namespace support {

class ChartPortRecorder : public chart::MessagePort, public chart::DocumentPort, public chart::DetailsPanel {
public:
    void ShowMessage(const std::string& text) override {
        shown.push_back(text);
        log.push_back("message: " + text);
    }
    void OpenDocument(const std::string& address) override {
        opened.push_back(address);
        log.push_back("open: " + address);
    }
    void Clear() override { panel.clear(); }
    std::string Text() const override { return panel; }
    void SetText(const std::string& text) override { panel = text; }

    std::vector<std::string> log;
    std::vector<std::string> shown;
    std::vector<std::string> opened;
    std::string panel;
};

}  // namespace support
