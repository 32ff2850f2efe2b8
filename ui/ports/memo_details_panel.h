#pragma once
// The details panel over Memo1. It keeps the bytes it was last given, so the
// chart core reads back exactly what it wrote; once the user has typed into
// the memo, the typed text is returned instead (as UTF-8, lines CR LF).
// A text set as the current text followed by more (the "Total" column's six
// blocks, one after another) is shown part by part, each part decoded on its
// own, as that test's own cell shows it: one stray byte in one block does not
// change how the others read.
#include <QMetaObject>
#include <QString>
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
    QString shown_;  // what the memo was given for bytes_
    bool settingText_ = false;
    bool typedSinceSet_ = false;
    QMetaObject::Connection typing_;
};

}  // namespace vantrel::ui
