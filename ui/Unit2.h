#pragma once
// Unit2 holds TOKRightDlg (OKRightDlg): the about box. Created hidden at
// start-up, shown by Help/About without being modal, hidden again by "CLOSE"
// or its close box.
#include <QDialog>
#include <QLabel>
#include <functional>

#include "chart/window_ports.h"

class QLabel;
class QPushButton;

namespace vantrel::ui {

// A label that reports clicks (the about box's two links).
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    LinkLabel(const QString& text, QWidget* parent);
    std::function<void()> onClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class TOKRightDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 241;
    static constexpr int kClientHeight = 100;

    TOKRightDlg(chart::DocumentPort& documents, QWidget* parent);

    void SpeedButton1Click();
    void Label3Click();
    void Label5Click();

    // Shows the box in the centre of the screen.
    void ShowCentred();

private:
    chart::DocumentPort& documents_;
};

}  // namespace vantrel::ui
