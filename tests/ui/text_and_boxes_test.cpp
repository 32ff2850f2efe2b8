// The error box's full stop, the decoding of chart bytes, the details panel's
// byte round trip and the message box's shape.
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "ui/error_box.h"
#include "ui/ports/memo_details_panel.h"
#include "ui/ports/message_box.h"
#include "ui/text/byte_text.h"

namespace vantrel::ui {
namespace {

TEST(ErrorBoxText, FullStopOnlyAfterABytePastTheDot) {
    EXPECT_EQ(ErrorBoxText("'' is not a valid integer value"), "'' is not a valid integer value.");
    EXPECT_EQ(ErrorBoxText("Ends with a dot."), "Ends with a dot.");
    EXPECT_EQ(ErrorBoxText("Ends with a bang!"), "Ends with a bang!");  // '!' sorts before '.'
    EXPECT_EQ(ErrorBoxText("Ends in 0"), "Ends in 0.");
    EXPECT_EQ(ErrorBoxText("caf\xe9"), "caf\xe9.");  // compared unsigned
    EXPECT_EQ(ErrorBoxText(""), "");
}

TEST(ChartText, Utf8WhereValidWindows1252Otherwise) {
    EXPECT_EQ(DecodeChartText("plain"), QString("plain"));
    EXPECT_EQ(DecodeChartText("caf\xc3\xa9"), QString::fromUtf8("caf\xc3\xa9"));
    EXPECT_EQ(DecodeChartText("caf\xe9"), QString::fromUtf8("caf\xc3\xa9"));
    EXPECT_EQ(DecodeChartText("\x80 \x99 \x9f"), QString::fromUtf8("\xe2\x82\xac \xe2\x84\xa2 \xc5\xb8"));
    EXPECT_EQ(DecodeChartText("\x81"), QString(QChar(0x81)));  // undefined in 1252
    EXPECT_EQ(DecodeChartText(std::string("a\0b", 3)), QString(QStringLiteral("a") + QChar(0) + "b"));
}

TEST(MemoDetailsPanel, GivesBackItsBytesUntilTheUserTypes) {
    QPlainTextEdit memo;
    MemoDetailsPanel panel(memo, "first\r\nsecond");
    EXPECT_EQ(memo.toPlainText(), QString("first\nsecond"));
    const std::string windowsBytes = "Caf\xe9\r\nA: YES\r\n\r\n";
    panel.SetText(windowsBytes);
    EXPECT_EQ(panel.Text(), windowsBytes);
    EXPECT_EQ(memo.toPlainText(), QString::fromUtf8("Caf\xc3\xa9\nA: YES\n\n"));
    panel.Clear();
    EXPECT_EQ(panel.Text(), "");
    memo.setPlainText(QString::fromUtf8("typed \xc3\xa9\nline"));
    EXPECT_EQ(panel.Text(), "typed \xc3\xa9\r\nline");
    panel.SetText("again");
    EXPECT_EQ(panel.Text(), "again");
}

TEST(MessageBox, OneDefaultOkButtonTextWrappedAtHalfTheScreen) {
    QString longText;
    for (int i = 0; i < 200; ++i)
        longText += QStringLiteral("word ");
    MessageDialog dialog(longText, nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Vantrel");
    const auto buttons = dialog.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0]->text(), "OK");
    EXPECT_TRUE(buttons[0]->isDefault());
    auto* label = dialog.findChild<QLabel*>(kMessageTextObjectName);
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->wordWrap());
    EXPECT_LE(label->width(), QGuiApplication::primaryScreen()->availableGeometry().width() / 2 + 2);

    // Esc closes it, as Enter does.
    QTimer::singleShot(0, &dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
    dialog.exec();
    EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
}  // namespace vantrel::ui
