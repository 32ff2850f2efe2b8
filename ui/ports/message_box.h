#pragma once
// The message operation: a modal box captioned "Vantrel", no icon, the text
// word-wrapped at half the screen's width above one "OK" button (the default
// and the Esc button), sized to its text and centred on the screen.
#include <QDialog>
#include <QStyle>
#include <string>

#include "chart/window_ports.h"

class QLabel;

namespace vantrel::ui {

// The application title, the caption of every box and of the main window.
inline constexpr const char* kApplicationTitle = "Vantrel";
inline constexpr const char* kMessageBoxObjectName = "VantrelMessageBox";
inline constexpr const char* kMessageTextObjectName = "MessageText";

// The text is plain text whatever it holds; a word wider than the box wraps
// inside itself and a text taller than the screen scrolls, so that the box never
// outgrows the screen and "OK" stays in view.
class MessageDialog : public QDialog {
    Q_OBJECT
public:
    // icon: a standard message icon shown left of the text, or none.
    MessageDialog(const QString& text, QWidget* parent, QStyle::StandardPixmap icon = QStyle::SP_CustomBase);
    // The text as given, without the break chances added for wrapping.
    QString Text() const { return text_; }

private:
    QString text_;
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
