// The about box (TOKRightDlg): its layout, its links and its keys.
#include "ui/Unit2.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "ui/artwork/built_pictures.h"
#include "ui/design_fonts.h"
#include "ui/guarded_call.h"
#include "ui/keyboard_focus_mark.h"
#include "ui/link_label.h"
#include "chart/publisher_values.h"

namespace vantrel::ui {
namespace {

// "Web:" and "E-mail:" end where the links begin; a wider font grows them to
// the left rather than clipping them.
void PlaceEndingAt(QLabel& label, int left, int top, int width, int height) {
    const int right = left + width;
    const int needed = std::max(width, label.sizeHint().width());
    label.setAlignment(Qt::AlignRight | Qt::AlignTop);
    label.setGeometry(right - needed, top, needed, height);
}

// A link longer than the frame has room for (a publisher's long address) is
// shown cut with "…" inside it; its whole text stays its tooltip and its name
// for screen readers.
void KeepInside(QLabel& label, const QRect& frame) {
    const int room = frame.right() - 2 - label.x();
    if (label.width() <= room) return;
    const QString whole = label.text();
    label.setText(label.fontMetrics().elidedText(whole, Qt::ElideRight, room));
    label.setToolTip(whole);
    label.setAccessibleName(whole);
    label.resize(room, label.height());
}

}  // namespace

TOKRightDlg::TOKRightDlg(chart::DocumentPort& documents, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      documents_(documents) {
    setObjectName(QStringLiteral("OKRightDlg"));
    setWindowTitle(QStringLiteral("About"));
    setModal(false);
    setFixedSize(kClientWidth, kClientHeight);
    setFont(MsSansSerifFont(11));  // the default font

    auto* bevel1 = new QFrame(this);
    bevel1->setObjectName(QStringLiteral("Bevel1"));
    bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);  // an etched frame
    bevel1->setGeometry(8, 8, 225, 65);

    auto* image1 = new QLabel(this);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setPixmap(QPixmap::fromImage(PictureAt(FixedPicture::kMagnifier, devicePixelRatioF())));
    image1->setGeometry(16, 16, 50, 46);
    image1->setAccessibleName(QStringLiteral("Magnifying glass with a star"));

    auto* label1 = new QLabel(QStringLiteral("Vantrel 1.0"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setFont(ArialFont(11, true));
    label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label1->setGeometry(72, 16, 153, 17);

    auto* label2 = new QLabel(QStringLiteral("Web:"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    PlaceEndingAt(*label2, 80, 32, 26, 13);

    auto* label3 = new LinkLabel(QString::fromLatin1(chart::kPublisherHost), this);
    label3->setObjectName(QStringLiteral("Label3"));
    label3->move(112, 32);
    label3->adjustSize();
    label3->onClick = [this] { RunGuarded(this, [this] { Label3Click(); }); };

    auto* label4 = new QLabel(QStringLiteral("E-mail:"), this);
    label4->setObjectName(QStringLiteral("Label4"));
    PlaceEndingAt(*label4, 75, 48, 31, 13);

    auto* label5 = new LinkLabel(QString::fromLatin1(chart::kContactAddress), this);
    label5->setObjectName(QStringLiteral("Label5"));
    label5->move(112, 48);
    label5->adjustSize();
    KeepInside(*label3, bevel1->geometry());
    KeepInside(*label5, bevel1->geometry());
    label5->onClick = [this] { RunGuarded(this, [this] { Label5Click(); }); };

    speedButton1_ = new QPushButton(this);
    speedButton1_->setObjectName(QStringLiteral("SpeedButton1"));
    speedButton1_->setText(QStringLiteral("CLOSE"));
    speedButton1_->setFont(MsSansSerifFont(11));
    speedButton1_->setFlat(true);
    // Reached by Tab only, so a click leaves the focus where it was; never the
    // dialog's default button, which would be drawn framed.
    speedButton1_->setFocusPolicy(Qt::TabFocus);
    speedButton1_->setAutoDefault(false);
    MarkKeyboardFocus(*speedButton1_);
    speedButton1_->setGeometry(8, 80, 225, 17);
    connect(speedButton1_, &QPushButton::clicked, this, [this] { SpeedButton1Click(); });
}

void TOKRightDlg::SpeedButton1Click() { hide(); }

void TOKRightDlg::Label3Click() {
    documents_.OpenDocument(chart::kPublisherPage);
}

void TOKRightDlg::Label5Click() {
    documents_.OpenDocument(chart::kContactMailto);
}

void TOKRightDlg::ShowCentred() {
    if (QScreen* shown = screen())
        move(shown->availableGeometry().center() - rect().center());
    // The focus starts on CLOSE, unmarked until the keyboard moves it.
    setAttribute(Qt::WA_KeyboardFocusChange, false);
    speedButton1_->setFocus(Qt::OtherFocusReason);
    show();
    activateWindow();
}

void TOKRightDlg::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    // Hidden while active (CLOSE, Esc), the box hands the keyboard back to the
    // window it belongs to, as the desktop it was designed for does, rather
    // than leave no window active. The platform may have told already that
    // the box is no longer active, or not yet.
    QWidget* active = QApplication::activeWindow();
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!event->spontaneous() && (!active || active == this) && owner && owner->isVisible())
        owner->activateWindow();
}

void TOKRightDlg::keyPressEvent(QKeyEvent* event) {
    // Enter on CLOSE closes the box (Space does it by the button's own keys).
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && speedButton1_->hasFocus()) {
        speedButton1_->click();
        return;
    }
    QDialog::keyPressEvent(event);  // Esc hides the box
}

}  // namespace vantrel::ui
