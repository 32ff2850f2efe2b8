#pragma once
// The about box's links: a label that opens its address when clicked, or when
// Enter or Space is pressed while it has the keyboard focus (Tab reaches it),
// and that screen readers announce as a link.
#include <QLabel>
#include <functional>

namespace vantrel::ui {

// Its text is navy, as designed, where navy stands out from the window's
// background (a contrast of 4.5:1 at least); elsewhere the palette's link
// colour where that does, or else the colour nearest it that does. A dotted
// frame marks it while it has the focus from the keyboard.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    LinkLabel(const QString& text, QWidget* parent);
    std::function<void()> onClick;

    // What a click does: for the keys and for screen readers' "press".
    void Activate();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void ChooseColour();
    bool choosing_ = false;
};

}  // namespace vantrel::ui
