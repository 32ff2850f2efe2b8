// The menu bar reached by Alt or F10 and worked by the arrows, Enter and Esc.
#include "ui/menu_bar_keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QProxyStyle>
#include <QShortcut>
#include <QStyleOptionMenuItem>

namespace vantrel::ui {
namespace {

// The platform's own look, with Alt alone taking the keyboard to the menu bar,
// and the bar's current menu highlighted while the keyboard is on the bar (as
// it is while that menu is open), not only while it is open.
class AltKeyNavigation : public QProxyStyle {
public:
    explicit AltKeyNavigation(const QString& base) : QProxyStyle(base) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == SH_MenuBar_AltKeyNavigation) return 1;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (element == CE_MenuBarItem && item && (item->state & State_Selected) && widget && widget->hasFocus()) {
            QStyleOptionMenuItem armed = *item;
            armed.state |= State_Sunken;
            QProxyStyle::drawControl(element, &armed, painter, widget);
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};

}  // namespace

void ReachMenuBarByKeyboard(QMainWindow& window) {
    QMenuBar* bar = window.menuBar();
    auto* style = new AltKeyNavigation(QApplication::style()->name());
    style->setParent(bar);  // goes with the bar
    bar->setStyle(style);
    // F10 does what Alt alone does.
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), &window);
    QObject::connect(f10, &QShortcut::activated, &window, [&window] {
        QWidget* focused = QApplication::focusWidget();
        QWidget* to = focused && focused->window() == &window ? focused : &window;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
        QApplication::sendEvent(to, &press);
        QApplication::sendEvent(to, &release);
    });
}

}  // namespace vantrel::ui
