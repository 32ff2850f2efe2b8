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

// A label that reports clicks (the about box's two links). Its text is navy,
// as designed, where navy stands out from the window's background (a contrast
// of 4.5:1 at least); on a dark palette it takes the palette's link colour.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    LinkLabel(const QString& text, QWidget* parent);
    std::function<void()> onClick;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void ChooseColour();
    bool choosing_ = false;
};

// The contrast ratio of two colours, from 1 (none) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);

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
