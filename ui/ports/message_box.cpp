#include "ui/ports/message_box.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "ui/error_box.h"
#include "ui/text/byte_text.h"

namespace vantrel::ui {
namespace {

QRect ScreenArea(QWidget* parent) {
    QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

MessageDialog::MessageDialog(const QString& text, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::CustomizeWindowHint) {
    setObjectName(QString::fromLatin1(kMessageBoxObjectName));
    setWindowTitle(QString::fromLatin1(kApplicationTitle));
    setModal(true);

    label_ = new QLabel(text, this);
    label_->setObjectName(QString::fromLatin1(kMessageTextObjectName));
    label_->setTextFormat(Qt::PlainText);
    label_->setWordWrap(true);
    // Wrap at half the screen's width, then fit the label to the wrapped text.
    const QRect screen = ScreenArea(parent);
    const int wrapWidth = std::max(100, screen.width() / 2);
    const QRect textBox = QFontMetrics(label_->font())
                              .boundingRect(QRect(0, 0, wrapWidth, 100000),
                                            Qt::TextWordWrap | Qt::AlignLeft, text);
    label_->setFixedSize(textBox.width() + 2, textBox.height());

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OK"));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(label_);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    adjustSize();
    move(screen.center() - rect().center());
}

QString MessageDialog::Text() const { return label_->text(); }

void ShowMessageBox(QWidget* parent, const QString& text) {
    // A hidden owner (during start-up) would place the box oddly.
    QWidget* owner = parent && parent->isVisible() ? parent : nullptr;
    MessageDialog dialog(text, owner);
    // QDialog's Esc closes it with reject, as the cancel button does.
    dialog.exec();
}

void MessageBoxPort::ShowMessage(const std::string& text) {
    ShowMessageBox(owner_, ToDisplayLines(DecodeChartText(text)));
}

}  // namespace vantrel::ui
