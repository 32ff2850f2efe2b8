#pragma once
// The window's operations recorded in order instead of carried out (no box
// shown, no browser opened), for the publisher's tool and the tests.
#include <string>
#include <vector>

#include "chart/window_ports.h"

namespace chart {

class RecordingPorts : public MessagePort, public DocumentPort, public DetailsPanel, public WaitPort {
public:
    struct Event {
        enum class Kind { Message, Open };
        Kind kind;
        std::string text;
    };

    void ShowMessage(const std::string& text) override { events.push_back({Event::Kind::Message, text}); }
    void OpenDocument(const std::string& address) override { events.push_back({Event::Kind::Open, address}); }
    void Clear() override { panel.clear(); }
    std::string Text() const override { return panel; }
    void SetText(const std::string& text) override { panel = text; }
    bool KeepWaiting() override { return true; }

    std::vector<std::string> Messages() const { return Texts(Event::Kind::Message); }
    std::vector<std::string> Opened() const { return Texts(Event::Kind::Open); }
    // Each event as "message: TEXT" or "open: ADDRESS".
    std::vector<std::string> Log() const {
        std::vector<std::string> log;
        for (const Event& event : events)
            log.push_back((event.kind == Event::Kind::Message ? "message: " : "open: ") + event.text);
        return log;
    }

    std::vector<Event> events;
    std::string panel;

private:
    std::vector<std::string> Texts(Event::Kind kind) const {
        std::vector<std::string> texts;
        for (const Event& event : events)
            if (event.kind == kind) texts.push_back(event.text);
        return texts;
    }
};

}  // namespace chart
