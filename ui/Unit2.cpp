#include "ui/Unit2.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <QPushButton>

#include "ui/artwork/built_pictures.h"
#include "ui/design_fonts.h"
#include "ui/guarded_call.h"
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

double ContrastRatio(const QColor& a, const QColor& b) {
    // The relative luminance of sRGB colours, as accessibility guidelines define it.
    const auto luminance = [](const QColor& colour) {
        const auto channel = [](double value) {
            return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    ChooseColour();
}

void LinkLabel::ChooseColour() {
    constexpr double kLeastContrast = 4.5;
    const QColor navy(0, 0, 128);
    // The window's own palette, not the colour set here before.
    const QPalette window = parentWidget() ? parentWidget()->palette() : QApplication::palette();
    QPalette text = palette();
    text.setColor(QPalette::WindowText, ContrastRatio(navy, window.color(QPalette::Window)) >= kLeastContrast
                                            ? navy
                                            : window.color(QPalette::Link));
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
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onClick)
        onClick();
}

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

    auto* speedButton1 = new QPushButton(this);
    speedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    speedButton1->setText(QStringLiteral("CLOSE"));
    speedButton1->setFont(MsSansSerifFont(11));
    speedButton1->setFlat(true);
    speedButton1->setFocusPolicy(Qt::NoFocus);
    speedButton1->setGeometry(8, 80, 225, 17);
    connect(speedButton1, &QPushButton::clicked, this, [this] { SpeedButton1Click(); });
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
    show();
}

}  // namespace vantrel::ui
