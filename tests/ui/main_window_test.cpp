// The main window as a person meets it: start-up, layout, banner link zone,
// details panel, about box, screen-reader access.
#include <filesystem>

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>
#include <QWindow>
#include <QAbstractButton>
#include <functional>

#include "form_fixture.h"
#include "ui/Unit2.h"
#include "ui/artwork/artwork.h"
#include "ui/artwork/built_pictures.h"
#include "ui/artwork/raw_picture.h"
#include "ui/grid/chart_grid.h"

namespace vantrel::ui::testing {
namespace {

class MainWindowTest : public FormTest {
protected:
    void MoveOverBanner(int x, int y) { QTest::mouseMove(Banner(), QPoint(x, y)); }
    QWidget* Banner() { return form_->findChild<QWidget*>("Image2"); }
    Qt::CursorShape BannerCursor() { return Banner()->cursor().shape(); }
    void Click(int col, int row) {
        QTest::mouseClick(form_->StringGrid1().viewport(), Qt::LeftButton, {}, CellCentre(col, row));
    }
};

TEST_F(MainWindowTest, StartWithoutFilesShowsThreeMessagesBeforeTheWindow) {
    Open(false);
    ASSERT_EQ(boxes_.seen.size(), 3u);
    EXPECT_EQ(boxes_.seen[0].text,
              "No version file found. Please click \"Update\" button to receive new.");
    EXPECT_EQ(boxes_.seen[1].text, "No data file found. Please click \"Update\" button to receive new.");
    EXPECT_EQ(boxes_.seen[2].text,
              "No testing policy file found. Please click \"Update\" button to receive new.");
    for (const auto& box : boxes_.seen) {
        EXPECT_EQ(box.objectName, "VantrelMessageBox");
        EXPECT_EQ(box.title, "Vantrel");
        EXPECT_FALSE(box.mainWindowVisible);
    }
    form_->show();
    EXPECT_FALSE(form_->GridEnabled());
    EXPECT_FALSE(form_->StringGrid1().isEnabled());
}

// Start-up found an update it could not complete: the files may mix two
// charts, so none of them is read and the reason is shown instead.
TEST_F(MainWindowTest, StartAfterAnUnfinishedUpdateShowsWhyAndReadsNoFile) {
    WriteSampleChart(dir_);
    const std::string why = "The update failed: the file /x/policy could not be written (Is a directory).";
    form_ = std::make_unique<TForm1>(dir_.Path(), FormPorts{nullptr, &documents_}, nullptr, why);
    ASSERT_EQ(boxes_.seen.size(), 1u);
    EXPECT_EQ(boxes_.seen[0].text, why);
    EXPECT_FALSE(boxes_.seen[0].mainWindowVisible);
    EXPECT_FALSE(form_->GridEnabled());
    EXPECT_EQ(form_->GridModel().Cell(0, 1), "");
}

// A reload asked for while one runs (its message boxes and its wait for the
// folder answer events, among them an update's end) runs after it, never
// inside it.
TEST_F(MainWindowTest, AReloadAskedForDuringOneRunsAfterIt) {
    WriteSampleChart(dir_);
    std::filesystem::remove(dir_.Path() + "/version");  // every read then says so
    // A box that answers events while it is open, as a modal one does.
    class AnsweringBoxes : public chart::RecordingPorts {
    public:
        void ShowMessage(const std::string& text) override {
            RecordingPorts::ShowMessage(text);
            QApplication::processEvents();
        }
    } boxes;
    form_ = std::make_unique<TForm1>(dir_.Path(), FormPorts{&boxes, &documents_});
    boxes.events.clear();
    std::size_t toldWhenTheSecondReturned = 0;
    QTimer::singleShot(0, form_.get(), [&] {
        form_->ReadAll();
        toldWhenTheSecondReturned = boxes.Messages().size();
    });
    form_->ReadAll();
    EXPECT_EQ(toldWhenTheSecondReturned, 1u) << "the second reload ran inside the first";
    EXPECT_EQ(boxes.Messages().size(), 2u) << "the second reload never ran";
}

TEST_F(MainWindowTest, LayoutIsFixedAsDesigned) {
    WriteSampleChart(dir_);
    Open();
    EXPECT_TRUE(boxes_.seen.empty());
    EXPECT_EQ(form_->windowTitle(), "Vantrel");
    EXPECT_EQ(form_->centralWidget()->size(), QSize(762, 380));
    EXPECT_EQ(form_->minimumSize(), form_->maximumSize());
    // What the window system is told (size hints on X11, xdg-shell on Wayland).
    EXPECT_EQ(form_->windowHandle()->minimumSize(), form_->windowHandle()->maximumSize());
    const QSize fixed = form_->size();
    form_->setWindowState(Qt::WindowMaximized);  // the Wayland title bar's button
    QApplication::processEvents();
    EXPECT_FALSE(form_->isMaximized());
    EXPECT_EQ(form_->size(), fixed);
    EXPECT_FALSE(form_->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form_->windowFlags() & Qt::WindowMinimizeButtonHint);
    const std::pair<const char*, QRect> controls[] = {
        {"Image2", {0, 0, 762, 54}},        {"Image1", {225, 0, 239, 55}},
        {"SpeedButton1", {0, 336, 761, 25}}, {"StringGrid1", {0, 54, 429, 281}},
        {"Memo1", {432, 54, 329, 281}},      {"StatusBar1", {0, 362, 761, 17}},
        {"ProgressBar1", {655, 364, 106, 15}},
    };
    for (const auto& [name, geometry] : controls) {
        auto* control = form_->findChild<QWidget*>(name);
        ASSERT_NE(control, nullptr) << name;
        EXPECT_EQ(control->geometry(), geometry) << name;
    }
    // The design's fonts at its sizes, each asked for by a family that is
    // installed, so none is found by a fallback search.
    const std::pair<QWidget*, int> fonts[] = {
        {form_.get(), 11}, {&form_->StringGrid1(), 8}, {&form_->Memo1(), 9}};
    for (const auto& [widget, pixels] : fonts) {
        const std::string name = widget->objectName().toStdString();
        EXPECT_EQ(widget->font().pixelSize(), pixels) << name;
        EXPECT_EQ(QFontInfo(widget->font()).family(), widget->font().family()) << name;
    }
    EXPECT_EQ(form_->Memo1().toPlainText().toStdString(),
              "Select the cell to view testing details or click on the program`s name in \n"
              "chart to learn more about the selected keylogger.");
    form_->StringGrid1().setFocus();
    QTest::keyClick(&form_->StringGrid1(), Qt::Key_Tab);  // tab order: grid, then Memo1
    EXPECT_TRUE(form_->Memo1().hasFocus());
    QStringList menus;
    for (QAction* menu : form_->menuBar()->actions())
        menus << menu->text();
    EXPECT_EQ(menus, (QStringList{"File", "Options", "Help"}));
}

TEST_F(MainWindowTest, BannerLinkZoneHasTheHandAndOpensTheSite) {
    WriteSampleChart(dir_);
    Open();
    MoveOverBanner(400, 30);
    EXPECT_EQ(BannerCursor(), Qt::ArrowCursor);
    QTest::mouseClick(Banner(), Qt::LeftButton, {}, QPoint(400, 30));
    EXPECT_TRUE(documents_.Opened().empty());
    MoveOverBanner(638, 10);
    EXPECT_EQ(BannerCursor(), Qt::ArrowCursor);
    MoveOverBanner(639, 21);
    EXPECT_EQ(BannerCursor(), Qt::ArrowCursor);
    MoveOverBanner(639, 20);
    EXPECT_EQ(BannerCursor(), Qt::PointingHandCursor);
    QTest::mouseClick(Banner(), Qt::LeftButton, {}, QPoint(639, 20));
    EXPECT_EQ(documents_.Opened(), (std::vector<std::string>{"http://www.vantrel.example"}));
}

TEST_F(MainWindowTest, SelectedCellsFillTheDetailsPanel) {
    WriteSampleChart(dir_);
    Open();
    Click(1, 2);  // flags "10": First YES, Second NO
    EXPECT_EQ(MemoText(), "OS support\nFirst: YES\nSecond: NO\n\n");
    Click(7, 1);  // "Total": the six blocks
    EXPECT_EQ(MemoText(),
              "OS support\nFirst: YES\nSecond: NO\n\n"
              "Demo version\nFirst: NO\nSecond: YES\n\n"
              "Interception\nFirst: YES\nSecond: YES\n\n"
              "Log viewing\nFirst: NO\nSecond: NO\n\n"
              "Security\nFirst: YES\nSecond: N/A\n\n"
              "Network options\nFirst: NO\nSecond: N/A\n\n");
    EXPECT_TRUE(documents_.Opened().empty());
}

TEST_F(MainWindowTest, AboutBoxIsShownWithoutBeingModalAndItsLinksOpen) {
    WriteSampleChart(dir_);
    Open();
    form_->findChild<QAction*>("About1")->trigger();
    auto* about = form_->findChild<TOKRightDlg*>("OKRightDlg");
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_FALSE(about->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(about->windowTitle(), "About");
    EXPECT_EQ(about->size(), QSize(241, 100));
    EXPECT_TRUE(about->windowFlags() & Qt::Tool);
    EXPECT_EQ(about->findChild<QLabel*>("Label1")->text(), "Vantrel 1.0");
    const QPoint placed = about->pos();
    about->move(placed + QPoint(5, 5));
    form_->About1Click();  // already visible: nothing changes
    EXPECT_EQ(about->pos(), placed + QPoint(5, 5));

    QTest::mouseClick(about->findChild<QLabel*>("Label3"), Qt::LeftButton);
    QTest::mouseClick(about->findChild<QLabel*>("Label5"), Qt::LeftButton);
    EXPECT_EQ(documents_.Opened(),
              (std::vector<std::string>{"http://www.vantrel.example", "mailto:info@vantrel.example"}));
    about->findChild<QAbstractButton*>("SpeedButton1")->click();
    EXPECT_FALSE(about->isVisible());
}

// Help/About makes the box the active window, its focus on CLOSE; Tab reaches
// the two links and CLOSE, marking each, Enter or Space activates the one
// that has the focus, Esc hides the box and the main window is active again.
TEST_F(MainWindowTest, AboutBoxWorksByKeyboard) {
    WriteSampleChart(dir_);
    Open();
    const std::string site = "http://www.vantrel.example", mail = "mailto:info@vantrel.example";
    // The keys, what they open, whether the box stays.
    const std::tuple<std::vector<Qt::Key>, std::vector<std::string>, bool> uses[] = {
        {{Qt::Key_Escape}, {}, false},
        {{Qt::Key_Return}, {}, false},
        {{Qt::Key_Space}, {}, false},
        {{Qt::Key_Tab, Qt::Key_Return}, {site}, true},
        {{Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Space}, {mail}, true},
        {{Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Enter}, {}, false},
        {{Qt::Key_Backtab, Qt::Key_Return}, {mail}, true},
    };
    for (int use = 0; const auto& [keys, opened, staysOpen] : uses) {
        SCOPED_TRACE(use++);
        documents_.events.clear();
        form_->findChild<QAction*>("About1")->trigger();
        TOKRightDlg* about = form_->AboutBox();
        // (A tool window counts as active while its parent is: asked of the application.)
        ASSERT_TRUE(QTest::qWaitFor([about] { return QApplication::activeWindow() == about; }));
        EXPECT_EQ(QApplication::focusWidget(), about->findChild<QWidget*>("SpeedButton1"));
        const QImage atRest = about->grab().toImage();
        for (Qt::Key key : keys) QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_EQ(documents_.Opened(), opened);
        EXPECT_EQ(about->isVisible(), staysOpen);
        if (staysOpen) {
            EXPECT_NE(about->grab().toImage(), atRest) << "the link Tab reached is marked";
        } else {
            EXPECT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == form_.get(); }));
        }
        about->hide();
    }
    // The focus the box is shown with is not marked: it looks as with none.
    form_->About1Click();
    TOKRightDlg* about = form_->AboutBox();
    ASSERT_TRUE(QTest::qWaitFor([about] { return QApplication::activeWindow() == about; }));
    const QImage atRest = about->grab().toImage();
    about->focusWidget()->clearFocus();
    EXPECT_EQ(about->grab().toImage(), atRest);
}

TEST_F(MainWindowTest, ScreenReadersReadCellsAndDetails) {
    WriteSampleChart(dir_);
    Open();
    CountSelections();
    form_->GridModel().SetCell(0, 2, " ");          // a blank name: the row is named by its number
    form_->GridModel().SetCell(0, 3, "Caf\xe9");   // Windows-1252, decoded as the cell is
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(&form_->StringGrid1());
    ASSERT_NE(grid, nullptr);
    QAccessibleTableInterface* table = grid->tableInterface();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->columnCount(), 8);
    EXPECT_EQ(table->rowCount(), 4);
    // Each cell reads as its program (its row's header), its test (its
    // column's) and its value, "program|test|value"; reading selects nothing.
    const std::tuple<int, int, QString> cells[] = {
        {0, 0, "Alpha|Program|Alpha"},
        {0, 7, "Alpha|Total|21"},
        {1, 3, "2|Interception|3"},
        {2, 1, QString::fromUtf8("Caf\xc3\xa9|OS support|1")},
        {3, 6, "Delta|Network options|6"},
    };
    // A header's name; the header handed to Qt's accessibility cache, which
    // owns it from then on, as the screen readers' bridge does.
    const auto headerName = [](const QList<QAccessibleInterface*>& headers) {
        for (QAccessibleInterface* header : headers) QAccessible::uniqueId(header);
        return headers.size() == 1 ? headers[0]->text(QAccessible::Name) : QStringLiteral("(%1 headers)").arg(headers.size());
    };
    for (const auto& [row, col, names] : cells) {
        QAccessibleTableCellInterface* cell = table->cellAt(row, col)->tableCellInterface();
        EXPECT_EQ(QStringList({headerName(cell->rowHeaderCells()), headerName(cell->columnHeaderCells()),
                               table->cellAt(row, col)->text(QAccessible::Name)}).join('|'), names);
    }
    EXPECT_EQ(table->cellAt(2, 0)->tableCellInterface()->rowIndex(), 2);
    EXPECT_TRUE(selections_.empty());
    EXPECT_TRUE(documents_.Opened().empty());

    QAccessibleInterface* memo = QAccessible::queryAccessibleInterface(&form_->Memo1());
    ASSERT_NE(memo, nullptr);
    ASSERT_NE(memo->textInterface(), nullptr);
    EXPECT_TRUE(memo->textInterface()->text(0, 10).startsWith("Select the"));
    QAccessibleInterface* banner = QAccessible::queryAccessibleInterface(Banner());
    EXPECT_EQ(banner->text(QAccessible::Name), "Powered by www.vantrel.example");
}

// A new current cell is told to screen readers as the focus moving there only
// while the grid has the focus: not when selected from another window, or with
// the focus in the details panel.
TEST_F(MainWindowTest, OnlyTheFocusedGridReportsItsCurrentCell) {
    WriteSampleChart(dir_);
    Open();
    ChartGrid& grid = form_->StringGrid1();
    QWidget otherWindow;
    const std::pair<std::function<void()>, bool> moves[] = {
        {[&] { grid.setFocus(); }, true},
        {[&] { form_->Memo1().setFocus(); }, false},
        {[&] { otherWindow.show(); otherWindow.activateWindow(); }, false},
    };
    for (int row = 2; const auto& [focus, reported] : moves) {
        focus();
        QApplication::processEvents();
        FocusReports told;
        grid.Select(2, row);
        ASSERT_EQ(told.seen.size(), reported ? 1u : 0u) << "row " << row;
        if (reported) {
            QAccessibleInterface* cell = QAccessible::queryAccessibleInterface(&grid)->child(told.seen[0].second);
            EXPECT_EQ(cell->tableCellInterface()->rowIndex(), row - 1);
            EXPECT_EQ(cell->tableCellInterface()->columnIndex(), 2);
        }
        ++row;
    }
}

TEST_F(MainWindowTest, FileExitAndTheCloseBoxBothCloseTheWindow) {
    WriteSampleChart(dir_);
    Open();
    int closed = 0;
    QObject::connect(form_.get(), &TForm1::closed, [&] { ++closed; });
    form_->findChild<QAction*>("Exit1")->trigger();
    EXPECT_FALSE(form_->isVisible());
    form_->show();
    form_->close();
    EXPECT_EQ(closed, 2);
}

// The compiled-in pictures are what the artwork code draws now, pixel for
// pixel: a stale or missing file would change the window on plain and doubled
// screens only.
TEST(BuiltPictures, MatchWhatTheArtworkCodeDraws) {
    for (int ratio : kBuiltRatios) {
        for (FixedPicture picture : kFixedPictures) {
            const QImage built = BuiltPicture(picture, ratio);
            const QImage drawn = DrawnPicture(picture, ratio);
            ASSERT_FALSE(built.isNull()) << BuiltPictureFileName(picture, ratio).toStdString();
            EXPECT_EQ(built.devicePixelRatio(), drawn.devicePixelRatio());
            EXPECT_EQ(built, drawn) << BuiltPictureFileName(picture, ratio).toStdString();
        }
        const QIcon icon = WindowIcon(ratio);
        for (int size : kWindowIconSizes) {
            const QImage shown = icon.pixmap(QSize(size, size), ratio).toImage();
            EXPECT_EQ(shown.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                      ApplicationIconPicture(size * ratio))
                << "icon " << size << " at " << ratio;
        }
    }
    EXPECT_TRUE(BuiltPicture(FixedPicture::kBanner, 1.5).isNull());
}

// Bytes that are not a whole raw picture give no picture rather than a read
// past their end.
TEST(RawPicture, RefusesBytesThatAreNotAWholePicture) {
    QImage image(3, 2, QImage::Format_ARGB32_Premultiplied);
    image.fill(qRgba(10, 20, 30, 40));
    const QByteArray good = RawPictureBytes(image);
    auto view = [](const QByteArray& bytes) {
        return RawPictureView(reinterpret_cast<const uchar*>(bytes.constData()), bytes.size());
    };
    EXPECT_EQ(view(good), image);
    const QByteArray shifted = 'x' + good;  // pixels not aligned: copied, still whole
    EXPECT_EQ(RawPictureView(reinterpret_cast<const uchar*>(shifted.constData()) + 1, good.size()), image);
    QByteArray otherFormat = good;
    otherFormat[12] = char(QImage::Format_Indexed8);
    const struct {
        const char* what;
        QByteArray bytes;
    } refused[] = {
        {"empty", {}},
        {"header only", good.left(16)},
        {"one byte short", good.chopped(1)},
        {"one byte over", good + 'x'},
        {"wrong magic", QByteArray("XPIX") + good.mid(4)},
        {"8-bit format", otherFormat},
    };
    for (const auto& [what, bytes] : refused) EXPECT_TRUE(view(bytes).isNull()) << what;
    EXPECT_TRUE(RawPictureBytes(image.convertToFormat(QImage::Format_RGB888)).isEmpty());
}

// Run by its own CTest entry with QT_SCALE_FACTOR=2: each picture the program
// draws has twice the pixels of its logical size, not a 1x picture blown up.
class PicturesAtScaleTwo : public FormTest {};

TEST_F(PicturesAtScaleTwo, AreDrawnAtTheScreensPixelRatio) {
    ASSERT_EQ(qApp->devicePixelRatio(), 2.0) << "run with QT_SCALE_FACTOR=2";
    WriteSampleChart(dir_);
    Open();
    form_->About1Click();
    auto pixmapOf = [](QWidget* owner, const char* name) {
        auto* label = owner->findChild<QLabel*>(name);
        return label ? label->pixmap().toImage() : QImage();
    };
    auto* banner = form_->findChild<BannerImage*>("Image2");
    ASSERT_NE(banner, nullptr);
    const QIcon glyph = form_->findChild<QAbstractButton*>("SpeedButton1")->icon();
    const struct {
        const char* picture;
        QImage image;
        QSize logicalSize;
    } pictures[] = {
        {"banner", banner->Picture(), {762, 54}},
        {"headings", pixmapOf(form_.get(), "Image1"), {239, 55}},
        {"glyph", glyph.pixmap(QSize(16, 16), 2.0).toImage(), {16, 16}},
        {"magnifier", pixmapOf(form_->AboutBox(), "Image1"), {50, 46}},
        {"icon", ApplicationIcon(qApp->devicePixelRatio()).pixmap(QSize(48, 48), 2.0).toImage(), {48, 48}},
    };
    for (const auto& [picture, image, logicalSize] : pictures) {
        EXPECT_EQ(image.devicePixelRatio(), 2.0) << picture;
        EXPECT_EQ(image.size(), logicalSize * 2) << picture;
    }
    EXPECT_EQ(banner->size(), QSize(762, 54));
}

}  // namespace
}  // namespace vantrel::ui::testing
