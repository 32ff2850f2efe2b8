#pragma once
// Unit2 holds TOKRightDlg (OKRightDlg): the about box. Created hidden at
// start-up, shown by Help/About without being modal, as the active window,
// hidden again by "CLOSE", its close box or Esc. Tab moves the keyboard focus
// between CLOSE (where it starts) and the two links; Enter or Space activates
// the one that has it.
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
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    chart::DocumentPort& documents_;
    QPushButton* speedButton1_ = nullptr;
};

}  // namespace vantrel::ui
