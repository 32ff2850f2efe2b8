#pragma once
// The details panel over Memo1: it keeps the bytes it was last given, so the
// chart core reads back exactly what it wrote.
#include <QMetaObject>
#include <QString>
#include <string>

#include "chart/window_ports.h"

class QPlainTextEdit;

namespace vantrel::ui {

// Once the user has typed into the memo, the typed text is returned instead
// (as UTF-8, lines CR LF). A text set as the current text followed by more
// (the Total column's six blocks) is shown part by part, as each test's own
// cell shows it.
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
    QString shown_;  // what the memo was given for bytes_
    bool settingText_ = false;
    bool typedSinceSet_ = false;
    QMetaObject::Connection typing_;
};

}  // namespace vantrel::ui
