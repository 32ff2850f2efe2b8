// The about box's links: opened by a click, Enter or Space, and announced as links.
#include "ui/link_label.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "ui/colour_contrast.h"
#include "ui/keyboard_focus_mark.h"

namespace vantrel::ui {
namespace {

// A link to screen readers (a label is read as plain text): its name is its
// whole address, even when the label shows it cut, and "press" follows it.
class LinkAccessible : public QAccessibleWidget {
public:
    explicit LinkAccessible(LinkLabel* link) : QAccessibleWidget(link, QAccessible::Link) {}

    QString text(QAccessible::Text kind) const override {
        if (kind != QAccessible::Name)
            return QAccessibleWidget::text(kind);
        const auto* link = static_cast<const LinkLabel*>(widget());
        return link->accessibleName().isEmpty() ? link->text() : link->accessibleName();
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.linked = true;
        return state;
    }
    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString& action) override {
        if (action == pressAction())
            static_cast<LinkLabel*>(widget())->Activate();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* LinkInterface(const QString& className, QObject* object) {
    if (className == QLatin1String(LinkLabel::staticMetaObject.className()) && object->isWidgetType())
        return new LinkAccessible(static_cast<LinkLabel*>(object));
    return nullptr;
}

}  // namespace

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    static const bool linksAnnounced = [] {
        QAccessible::installFactory(LinkInterface);
        return true;
    }();
    (void)linksAnnounced;
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    MarkKeyboardFocus(*this);
    ChooseColour();
}

void LinkLabel::Activate() {
    if (onClick)
        onClick();
}

void LinkLabel::ChooseColour() {
    // The window's own palette, not the colour set here before.
    const QPalette window = parentWidget() ? parentWidget()->palette() : QApplication::palette();
    const QColor background = window.color(QPalette::Window);
    const QColor navy(0, 0, 128), link = window.color(QPalette::Link);
    QColor colour = navy;
    if (ContrastRatio(navy, background) < kLeastTextContrast)
        colour = ContrastRatio(link, background) >= kLeastTextContrast
                     ? link
                     : ColourStandingOut(link, background, kChosenTextContrast);
    QPalette text = palette();
    text.setColor(QPalette::WindowText, colour);
    choosing_ = true;
    setPalette(text);
    choosing_ = false;
}

void LinkLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && !choosing_)
        ChooseColour();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Activate();
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            event->accept();
            if (!event->isAutoRepeat())
                Activate();
            return;
        default:
            QLabel::keyPressEvent(event);  // Esc and the rest go to the box
    }
}

}  // namespace vantrel::ui
