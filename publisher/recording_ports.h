#pragma once
// The window's message and open-document operations, recorded instead of
// carried out: the tool shows no box and opens no browser; it tells what the
// window would have shown and opened, in order.
#include <string>
#include <vector>

#include "chart/window_ports.h"

namespace publisher {

class RecordingPorts : public chart::MessagePort, public chart::DocumentPort {
public:
    struct Event {
        enum class Kind { Message, Open };
        Kind kind;
        std::string text;
    };

    void ShowMessage(const std::string& text) override { events.push_back({Event::Kind::Message, text}); }
    void OpenDocument(const std::string& address) override { events.push_back({Event::Kind::Open, address}); }

    std::vector<Event> events;
};

}  // namespace publisher
