#pragma once
// Unit2 holds TOKRightDlg (OKRightDlg): the about box, created hidden at
// start-up and shown by Help/About without being modal.
#include <QDialog>

#include "chart/window_ports.h"

class QPushButton;

namespace vantrel::ui {

class TOKRightDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 241;
    static constexpr int kClientHeight = 100;

    TOKRightDlg(chart::DocumentPort& documents, QWidget* parent);

    void SpeedButton1Click();
    void Label3Click();
    void Label5Click();

    // Shows the box in the centre of the screen, as the active window.
    void ShowCentred();

protected:
    // "CLOSE", the close box and Esc hide it; Tab moves the focus between
    // CLOSE (where it starts) and the two links, which Enter or Space activates.
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    chart::DocumentPort& documents_;
    QPushButton* speedButton1_ = nullptr;
};

}  // namespace vantrel::ui
