#pragma once
// The details panel over Memo1. It keeps the bytes it was last given, so the
// chart core reads back exactly what it wrote; once the user has typed into
// the memo, the typed text is returned instead (as UTF-8, lines CR LF).
#include <QMetaObject>
#include <string>

#include "chart/window_ports.h"

class QPlainTextEdit;

namespace vantrel::ui {

class MemoDetailsPanel : public chart::DetailsPanel {
public:
    MemoDetailsPanel(QPlainTextEdit& memo, std::string initialText);
    ~MemoDetailsPanel() override;
    MemoDetailsPanel(const MemoDetailsPanel&) = delete;
    MemoDetailsPanel& operator=(const MemoDetailsPanel&) = delete;
    void Clear() override;
    std::string Text() const override;
    void SetText(const std::string& text) override;

private:
    QPlainTextEdit& memo_;
    std::string bytes_;
    bool settingText_ = false;
    bool typedSinceSet_ = false;
    QMetaObject::Connection typing_;
};

}  // namespace vantrel::ui
