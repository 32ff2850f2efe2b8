// The message box: plain text wrapped at half the screen, "OK" always in view.
#include "ui/ports/message_box.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include "ui/text/display_text.h"

namespace vantrel::ui {
namespace {

constexpr QChar kZeroWidthSpace(0x200B);

QRect ScreenArea(QWidget* parent) {
    QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

// Word wrap breaks only between words; a word wider than the box gets a
// chance to break after each of its characters. Other words are untouched, so
// text that wraps well already wraps as before.
QString WithBreaksInWideWords(const QString& text, const QFontMetrics& metrics, int width) {
    QString out;
    out.reserve(text.size());
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && !text[end].isSpace())
            ++end;
        const QStringView word = QStringView(text).mid(start, end - start);
        if (metrics.horizontalAdvance(word.toString()) > width) {
            for (qsizetype i = 0; i < word.size(); ++i) {
                out.append(word[i]);
                if (!word[i].isHighSurrogate() && i + 1 < word.size())
                    out.append(kZeroWidthSpace);
            }
        } else {
            out.append(word);
        }
        if (end < text.size())
            out.append(text[end++]);
        start = end;
    }
    return out;
}

}  // namespace

MessageDialog::MessageDialog(const QString& text, QWidget* parent, QStyle::StandardPixmap icon)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::CustomizeWindowHint),
      text_(text) {
    setObjectName(QString::fromLatin1(kMessageBoxObjectName));
    setWindowTitle(QString::fromLatin1(kApplicationTitle));
    setModal(true);

    label_ = new QLabel(this);
    label_->setObjectName(QString::fromLatin1(kMessageTextObjectName));
    label_->setTextFormat(Qt::PlainText);
    label_->setTextInteractionFlags(Qt::NoTextInteraction);
    label_->setWordWrap(true);
    // Wrap at half the screen's width, then fit the label to the wrapped text.
    const QRect screen = ScreenArea(parent);
    const int wrapWidth = std::max(100, screen.width() / 2);
    const QFontMetrics metrics(label_->font());
    const QString wrappable = WithBreaksInWideWords(text, metrics, wrapWidth);
    label_->setText(wrappable);
    label_->setAccessibleName(text);
    const QRect textBox =
        metrics.boundingRect(QRect(0, 0, wrapWidth, 1 << 24), Qt::TextWordWrap | Qt::AlignLeft, wrappable);
    label_->setFixedSize(std::min(textBox.width(), wrapWidth) + 2, textBox.height());

    // Taller than most of the screen: the text scrolls inside the box.
    QWidget* textArea = label_;
    const int maxTextHeight = std::max(100, screen.height() * 2 / 3);
    if (textBox.height() > maxTextHeight) {
        auto* scroll = new QScrollArea(this);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        scroll->setWidget(label_);
        scroll->setFixedSize(label_->width() + scroll->verticalScrollBar()->sizeHint().width(), maxTextHeight);
        textArea = scroll;
    }

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OK"));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    if (icon == QStyle::SP_CustomBase) {
        layout->addWidget(textArea);
    } else {
        auto* iconLabel = new QLabel(this);
        iconLabel->setObjectName(QStringLiteral("Icon"));
        const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        iconLabel->setPixmap(style()->standardIcon(icon, nullptr, this).pixmap(size, size));
        auto* row = new QHBoxLayout;
        row->addWidget(iconLabel, 0, Qt::AlignTop);
        row->addWidget(textArea);
        layout->addLayout(row);
    }
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    adjustSize();
    move(screen.center() - rect().center());
}

void ShowMessageBox(QWidget* parent, const QString& text) {
    // A hidden owner (during start-up) would place the box oddly.
    QWidget* owner = parent && parent->isVisible() ? parent : nullptr;
    MessageDialog dialog(text, owner);
    // QDialog's Esc closes it with reject, as the cancel button does.
    dialog.exec();
}

void MessageBoxPort::ShowMessage(const std::string& text) {
    ShowMessageBox(owner_, DisplayLines(text));
}

}  // namespace vantrel::ui
