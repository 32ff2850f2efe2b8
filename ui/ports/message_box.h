#pragma once
// The message operation: a modal box captioned "Vantrel", no icon, the text
// word-wrapped at half the screen's width above one "OK" button that is both
// the default and the Esc button. Sized to its text and centred on the screen.
#include <QDialog>
#include <string>

#include "chart/window_ports.h"

class QLabel;

namespace vantrel::ui {

inline constexpr const char* kMessageBoxObjectName = "VantrelMessageBox";
inline constexpr const char* kMessageTextObjectName = "MessageText";

class MessageDialog : public QDialog {
    Q_OBJECT
public:
    MessageDialog(const QString& text, QWidget* parent);
    QString Text() const;

private:
    QLabel* label_;
};

// Shows the dialog and returns when the user has dismissed it.
void ShowMessageBox(QWidget* parent, const QString& text);

class MessageBoxPort : public chart::MessagePort {
public:
    explicit MessageBoxPort(QWidget* owner) : owner_(owner) {}
    void ShowMessage(const std::string& text) override;

private:
    QWidget* owner_;
};

}  // namespace vantrel::ui
