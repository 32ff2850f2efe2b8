// Chart text on its way to the widgets: plain text, never a link; bounded in
// length; one line per cell; each details block decoded on its own; and the
// desktop's opener given the address as it is, or the user told.
#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <filesystem>
#include <fstream>

#include <QStringDecoder>

#include "chart/text/utf8.h"
#include "form_fixture.h"
#include "ui/grid/chart_grid.h"
#include "ui/ports/desktop_documents.h"
#include "ui/ports/memo_details_panel.h"
#include "ui/ports/message_box.h"
#include "ui/text/byte_text.h"
#include "ui/text/display_text.h"

namespace vantrel::ui::testing {
namespace {

const std::string kLink = "<a href=\"file:///etc/passwd\">click here</a>";
const QString kEllipsis = QString(QChar(0x2026));

// Catches whatever Qt itself would hand to the desktop.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher() {
        for (const char* scheme : {"file", "http", "https", "mailto"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "Open");
    }
    ~UrlCatcher() override {
        for (const char* scheme : {"file", "http", "https", "mailto"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    QStringList opened;

public slots:
    void Open(const QUrl& url) { opened << url.toString(); }
};

class ChartTextTest : public FormTest {
protected:
    QAbstractItemModel& Cells() { return *form_->StringGrid1().model(); }
    QVariant Cell(int col, int viewRow, int role = Qt::DisplayRole) {
        return Cells().data(Cells().index(viewRow, col), role);
    }
    void Click(int col, int row) {
        QTest::mouseClick(form_->StringGrid1().viewport(), Qt::LeftButton, {}, CellCentre(col, row));
    }
};

TEST_F(ChartTextTest, MarkupInEveryPartOfTheChartIsShownAsWritten) {
    dir_.Write("version", "10\n10\n");
    dir_.Write("data", kLink + "\n<b>Bold</b>\n1 1\n<i>1</i> 2 3 4 5 6 <u>21</u>\n");
    // Test 2's record is empty: test 1's title lands in its count slot.
    dir_.Write("policy", kLink + "\n<b>A</b>\n\n\n");
    Open();
    UrlCatcher catcher;
    EXPECT_EQ(Cell(0, 0).toString().toStdString(), "<b>Bold</b>");
    EXPECT_EQ(Cell(7, 0).toString().toStdString(), "<u>21</u>");
    EXPECT_FALSE(Cell(0, 0, Qt::ToolTipRole).isValid());
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(&form_->StringGrid1());
    EXPECT_EQ(grid->tableInterface()->cellAt(0, 1)->text(QAccessible::Name).toStdString(), "<i>1</i>");

    Click(1, 1);
    EXPECT_EQ(MemoText(), kLink + "\n<b>A</b>: YES\n\n");
    Click(2, 1);
    Click(0, 1);
    ASSERT_EQ(boxes_.seen.size(), 2u);
    EXPECT_EQ(boxes_.seen[0].objectName, "VantrelErrorBox");
    EXPECT_TRUE(boxes_.seen[0].plainText && boxes_.seen[1].plainText);
    EXPECT_EQ(boxes_.seen[0].text, "'" + kLink + "' is not a valid integer value.");
    EXPECT_EQ(boxes_.seen[1].text, "This program's page address is not a web address, so it was not opened:\n" + kLink);
    EXPECT_TRUE(documents_.Opened().empty());

    // The link in a box, clicked: plain text, nothing opened.
    for (auto icon : {QStyle::SP_CustomBase, QStyle::SP_MessageBoxCritical}) {
        MessageDialog box(QString::fromStdString(kLink), nullptr, icon);
        box.show();
        auto* label = box.findChild<QLabel*>(kMessageTextObjectName);
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(label->width() / 2, label->height() / 2));
    }
    EXPECT_TRUE(catcher.opened.isEmpty()) << catcher.opened.join(' ').toStdString();
}

TEST_F(ChartTextTest, TextsPastTheDisplayLimitReachTheWidgetsCut) {
    const std::string huge(1 << 20, 'W');  // one word of 1 MiB
    dir_.Write("version", "10\n10\n");
    dir_.Write("data", "http://a b/" + huge + "\n" + huge + "\n1\n1 2 3 4 5 6 7\n");
    dir_.Write("policy", huge + "\n" + huge + "\n\n");
    Open();
    const QString cell = Cell(0, 0).toString();
    EXPECT_EQ(cell.size(), kDisplayTextLimit + 1);
    EXPECT_TRUE(cell.endsWith(kEllipsis));

    Click(1, 1);
    const QStringList lines = form_->Memo1().toPlainText().split('\n');
    ASSERT_EQ(lines.size(), 4);
    for (int line : {0, 1}) {
        EXPECT_EQ(lines[line].size(), kDisplayTextLimit + 1) << line;
        EXPECT_TRUE(lines[line].endsWith(kEllipsis)) << line;
    }
    // A word wider than the memo breaks inside itself instead of running out of view.
    EXPECT_EQ(form_->Memo1().wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);

    Click(0, 1);  // the address holds a space: refused, the box bounded
    ASSERT_EQ(boxes_.seen.size(), 1u);
    EXPECT_LE(QString::fromStdString(boxes_.seen[0].text).size(), 200 + kDisplayTextLimit);
}

TEST(MessageBox, AnyTextKeepsTheBoxWithinHalfTheScreenAndOkInView) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QString address = "This program's page address is not a web address, so it was not opened:\n" +
                            QString(200, 'a') + "/" + QString(15, 'b');
    QString manyLines;
    for (int i = 0; i < 400; ++i)
        manyLines += QStringLiteral("line %1\n").arg(i);
    const QString texts[] = {address, DisplayLines(std::string(16 << 20, 'x')), manyLines,
                             QString(kDisplayTextLimit, QChar(0x4E2D)) + kEllipsis};
    for (const QString& text : texts) {
        for (auto icon : {QStyle::SP_CustomBase, QStyle::SP_MessageBoxCritical}) {
            SCOPED_TRACE(text.left(40).toStdString());
            MessageDialog box(text, nullptr, icon);
            box.show();
            auto* label = box.findChild<QLabel*>(kMessageTextObjectName);
            EXPECT_LE(label->width(), screen.width() / 2 + 2);
            EXPECT_GT(label->height(), 2 * label->fontMetrics().height());  // wrapped, long words too
            EXPECT_LE(box.width(), screen.width() / 2 + 120);
            EXPECT_LE(box.height(), screen.height());
            auto* ok = box.findChild<QPushButton*>("OK");
            EXPECT_TRUE(box.rect().contains(ok->geometry()));
            EXPECT_EQ(box.Text(), text);
        }
    }
}

TEST(ChartText, CellsAreOneLineThatNothingReorders) {
    std::string overrides;  // 3,000 right-to-left overrides: more than the window's worth of bytes
    for (int i = 0; i < 3000; ++i)
        overrides += "\xE2\x80\xAE";
    const std::pair<std::string, QString> cases[] = {
        {overrides + "Alpha", "Alpha"},
        {overrides + std::string(kDisplayTextLimit + 1, 'x') + overrides, QString(kDisplayTextLimit, 'x') + kEllipsis},
        {std::string(kDisplayTextLimit, 'x') + overrides, QString(kDisplayTextLimit, 'x')},
        {"a\xE2\x80\xA8" "b\xE2\x80\xA9" "c\xC2\x85" "d", "a b c d"},      // U+2028, U+2029, NEL
        {"abc\xE2\x80\xAE" "fdp.exe", "abcfdp.exe"},                      // right-to-left override
        {"\xE2\x81\xA7x\xE2\x81\xA9 \xE2\x80\xAA" "y\xE2\x80\xAC", "x y"},  // isolate, embedding
        {"caf\xE9 \x85", QString::fromUtf8("caf\xC3\xA9 \xE2\x80\xA6")},  // Windows-1252: 0x85 is "…"
        {"Alpha", "Alpha"},
    };
    for (const auto& [bytes, shown] : cases)
        EXPECT_EQ(DisplayCell(bytes), shown) << bytes;
    // Cut at the limit, never inside a character.
    std::string wide = "a";
    for (int i = 0; i < kDisplayTextLimit; ++i)
        wide += "\xF0\x9F\x98\x80";  // U+1F600, two UTF-16 units
    const QString cut = DisplayCell(wide);
    EXPECT_LE(cut.size(), kDisplayTextLimit + 1);
    EXPECT_FALSE(cut[cut.size() - 2].isHighSurrogate());
    EXPECT_EQ(DisplayCell(std::string(kDisplayTextLimit, '\xE9')).size(), kDisplayTextLimit);
    // The error box's full stop is shown as the text's last byte would be.
    EXPECT_EQ(DisplayLines("a\r\n'caf\xE9'", "."), QString::fromUtf8("a\n'caf\xC3\xA9'."));
    EXPECT_EQ(DisplayLines(overrides + "'x'", "."), "'x'.");
    EXPECT_EQ(DisplayLines(std::string(kDisplayTextLimit, 'x'), "."), QString(kDisplayTextLimit, 'x') + kEllipsis);
    EXPECT_TRUE(DisplayLines(std::string(16 << 20, 'x'), ".").endsWith(kEllipsis));
}

// As each grid cell is: one Windows-1252 line does not turn its block's UTF-8
// title into mojibake.
// The chart core's UTF-8 rule (which check's "not valid UTF-8" goes by)
// against the toolkit's own decoder: a line one accepts, the other does.
TEST(ChartText, Utf8AsTheToolkitDecodesIt) {
    const std::string_view rows[] = {
        "plain ASCII, longer than eight bytes", "caf\xC3\xA9", "\xF0\x9F\x94\x91 key", "\xEF\xBB\xBF" "10",
        "caf\xE9", "\xC3", "\xC0\xAF",  // cut short, overlong
        "\xED\xA0\x80",                   // a surrogate
        "\xF4\x90\x80\x80",               // past U+10FFFF
        "twelve bytes\x80",                 // a stray byte after a run of ASCII
    };
    for (const std::string_view text : rows) {
        QStringDecoder toolkit(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = toolkit.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
        EXPECT_EQ(chart::IsValidUtf8(text), !toolkit.hasError()) << text;
    }
}

TEST(MemoDetailsPanel, EachLineIsDecodedOnItsOwn) {
    QPlainTextEdit memo;
    MemoDetailsPanel panel(memo, "");
    const std::string utf8Block = "Caf\xC3\xA9\r\nA: YES\r\n\r\n";
    const std::string windowsBlock = "Caf\xE9\r\nA: NO\r\n\r\n";
    panel.SetText(utf8Block);
    panel.SetText(panel.Text() + windowsBlock);
    panel.SetText(panel.Text() + utf8Block);
    const QString cafe = QString::fromUtf8("Caf\xC3\xA9");
    EXPECT_EQ(memo.toPlainText(), cafe + "\nA: YES\n\n" + cafe + "\nA: NO\n\n" + cafe + "\nA: YES\n\n");
    EXPECT_EQ(panel.Text(), utf8Block + windowsBlock + utf8Block);
    panel.SetText("S\xC3\xA9" "curit\xC3\xA9\r\nCach\xE9: YES\r\n\r\n");
    EXPECT_EQ(memo.toPlainText(), QString::fromUtf8("S\xC3\xA9" "curit\xC3\xA9\nCach\xC3\xA9: YES\n\n"));
}

TEST(DesktopDocumentPort, HandsTheAddressOverAsItIsOrTellsTheUser) {
    ChartDirectory dir;
    const std::string received = dir.Path() + "/received";
    const auto opener = [&](int exitCode) {
        const std::string path = dir.Path() + "/opener" + std::to_string(exitCode);
        dir.Write("opener" + std::to_string(exitCode),
                  "#!/bin/sh\nprintf '%s' \"$1\" > '" + received + "'\nexit " + std::to_string(exitCode) + "\n");
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        return QString::fromStdString(path);
    };
    const std::string address = "http://a.example/a%41b%25?q=%E9#top";
    const std::string tooLong = "http://a.example/" + std::string(DesktopDocumentPort::kMaxArgumentBytes, 'x');
    struct Case {
        QString program;
        std::string address;
        bool told;
        bool started;
    };
    const Case cases[] = {
        {opener(0), address, false, true},
        {opener(1), address, true, true},   // the opener reports a failure
        {QString::fromStdString(dir.Path() + "/missing"), address, true, false},
        {opener(0), tooLong, true, false},  // over one argument's limit: not tried
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program.toStdString());
        std::filesystem::remove(received);
        chart::RecordingPorts messages;
        DesktopDocumentPort port(messages, c.program);
        port.OpenDocument(c.address);
        EXPECT_TRUE(QTest::qWaitFor([&] { return port.Running() == 0; }, 10000)) << "the opener never ended";
        QApplication::processEvents();
        const std::string expected = std::string(kCannotOpenMessage) + c.address;
        EXPECT_EQ(messages.Messages(), c.told ? std::vector<std::string>{expected} : std::vector<std::string>{});
        std::ifstream file(received, std::ios::binary);
        const std::string got((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        EXPECT_EQ(got, c.started ? c.address : "");
    }
}

}  // namespace
}  // namespace vantrel::ui::testing

#include "chart_text_test.moc"
