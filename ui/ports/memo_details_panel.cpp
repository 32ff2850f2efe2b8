// The details panel over Memo1, keeping the bytes it was given.
#include "ui/ports/memo_details_panel.h"

#include <QPlainTextEdit>

#include "ui/text/byte_text.h"
#include "ui/text/display_text.h"

namespace vantrel::ui {

MemoDetailsPanel::MemoDetailsPanel(QPlainTextEdit& memo, std::string initialText)
    : memo_(memo), bytes_(std::move(initialText)), shown_(DisplayLines(bytes_)) {
    memo_.setPlainText(shown_);
    typing_ = QObject::connect(&memo_, &QPlainTextEdit::textChanged, &memo_, [this] {
        if (!settingText_)
            typedSinceSet_ = true;
    });
}

MemoDetailsPanel::~MemoDetailsPanel() { QObject::disconnect(typing_); }

void MemoDetailsPanel::Clear() { SetText(std::string()); }

std::string MemoDetailsPanel::Text() const {
    if (typedSinceSet_)
        return EncodeUtf8(ToCrLfLines(memo_.toPlainText()));
    return bytes_;
}

void MemoDetailsPanel::SetText(const std::string& text) {
    const bool appends = !typedSinceSet_ && !bytes_.empty() && text.size() > bytes_.size() &&
                         text.compare(0, bytes_.size(), bytes_) == 0;
    if (appends)
        shown_ += DisplayLines(std::string_view(text).substr(bytes_.size()));
    else
        shown_ = DisplayLines(text);
    bytes_ = text;
    typedSinceSet_ = false;
    settingText_ = true;
    memo_.setPlainText(shown_);
    settingText_ = false;
}

}  // namespace vantrel::ui
