#pragma once
// The open-document operation: hands a web or "mailto:" address to the
// desktop (xdg-open through Qt's desktop services) without waiting for it.
#include "chart/window_ports.h"

namespace vantrel::ui {

class DesktopDocumentPort : public chart::DocumentPort {
public:
    void OpenDocument(const std::string& address) override;
};

}  // namespace vantrel::ui
