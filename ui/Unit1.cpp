// The main window (TForm1): its controls and handlers, its reloads, and the windows it opens.
#include "ui/Unit1.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QDateTime>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <QPushButton>
#include <algorithm>

#include "folder/chart_reader.h"
#include "ui/Unit2.h"
#include "ui/changes_window.h"
#include "ui/compare/compare_window.h"
#include "ui/history_worker.h"
#include "ui/side_window_placement.h"
#include "ui/artwork/built_pictures.h"
#include "ui/design_fonts.h"
#include "ui/error_box.h"
#include "ui/event_loop_wait.h"
#include "ui/grid/chart_grid.h"
#include "ui/guarded_call.h"
#include "ui/menu_bar_keys.h"
#include "ui/ports/desktop_documents.h"
#include "ui/ports/memo_details_panel.h"
#include "ui/ports/message_box.h"
#include "chart/publisher_values.h"
#include "ui/wheel_to_focus.h"

namespace vantrel::ui {
namespace {

// The kept signature of the chart's data file, which dates its release; empty
// when the chart is not signed.
chart::ReloadHistory::Seconds Now() { return QDateTime::currentSecsSinceEpoch(); }

// The banner's link zone: X from 639 to the right edge, Y from the top to 20.
constexpr int kLinkZoneLeft = 639;
constexpr int kLinkZoneBottom = 20;

}  // namespace

BannerImage::BannerImage(const QImage& picture, QWidget* parent)
    : QWidget(parent), picture_(picture) {
    setFixedSize(picture_.deviceIndependentSize().toSize());
    setMouseTracking(true);
}

void BannerImage::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(0, 0, picture_);
}

void BannerImage::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (onMouseMove)
        onMouseMove(pos.x(), pos.y());
}

void BannerImage::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
}

void BannerImage::mouseReleaseEvent(QMouseEvent* event) {
    const bool clicked = pressed_ && event->button() == Qt::LeftButton &&
                         rect().contains(event->position().toPoint());
    pressed_ = false;
    if (clicked && onClick)
        onClick();
}

TForm1::TForm1(std::string chartDirectory, Ports ports, QWidget* parent, std::string unfinishedUpdate)
    : TForm1(std::move(chartDirectory), std::move(ports), parent, std::move(unfinishedUpdate), nullptr) {}

TForm1::TForm1(const chart::ChartSnapshot& chart, Ports ports)
    : TForm1(std::string(), std::move(ports), nullptr, std::string(), &chart) {}

TForm1::TForm1(std::string chartDirectory, Ports ports, QWidget* parent, std::string unfinishedUpdate,
               const chart::ChartSnapshot* given)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromLatin1(kApplicationTitle));
    setFont(MsSansSerifFont(11));

    if (ports.messages) {
        messages_ = ports.messages;
    } else {
        ownMessages_ = std::make_unique<MessageBoxPort>(this);
        messages_ = ownMessages_.get();
    }
    if (ports.documents) {
        documents_ = ports.documents;
    } else {
        ownDocuments_ = std::make_unique<DesktopDocumentPort>(*messages_);
        documents_ = ownDocuments_.get();
    }

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);
    BuildControls(client);
    BuildMenu();
    new WheelToFocus(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    if (QScreen* shown = screen())
        move(shown->availableGeometry().center() - rect().center());

    details_ = std::make_unique<MemoDetailsPanel>(*memo1_, kMemo1InitialText);
    changes_ = std::make_unique<ChangesWindow>();
    changes_->onSelectCell = [this](int col, int row) {
        // A test's line: that test in the row the reader is on.
        if (row == 0) row = std::max(grid_.Row(), grid_.FixedRows());
        stringGrid1_->Select(col, row);
    };
    history_ = new HistoryWorker(this);
    history_->onTold = [this](const chart::ReloadHistory::Told& told) {
        changes_->Draw(told);
        whatChanged1_->setEnabled(true);
    };
    // Beside the window, off the grid and the details panel its lines point into.
    changesPlacement_ = new SideWindowPlacement(*changes_, *this, QSize(420, 160), [this] {
        const QRect grid(stringGrid1_->mapTo(this, QPoint(0, 0)), stringGrid1_->size());
        return grid.united(QRect(memo1_->mapTo(this, QPoint(0, 0)), memo1_->size()));
    });
    folderWait_ = std::make_unique<EventLoopWait>([this, ending = std::move(ports.programEnding)] {
        return closing_ || (ending && ending());
    });
    // No chart folder (start-up has said why): nothing to read or update.
    const bool noChartFolder = chartDirectory.empty();
    chart_ = std::make_unique<chart::ChartForm>(
        tables_, grid_, chart::ChartPorts{*messages_, *documents_, *details_},
        std::move(chartDirectory), chart::kPublisherHost);

    // Loads the chart, message boxes and all, before the window is first shown.
    if (given) {
        RunGuarded(this, [&] { chart_->FormCreate(*given); });
    } else if (noChartFolder) {
        grid_.SetEnabled(false);
    } else if (unfinishedUpdate.empty()) {
        RunGuarded(this, [this] { FormCreate(); });
    } else {
        grid_.SetEnabled(false);
        RunGuarded(this, [&] { messages_->ShowMessage(unfinishedUpdate); });
    }
}

TForm1::~TForm1() {
    // The grid widget listens to the grid model, which goes before the
    // window's children do.
    delete stringGrid1_;
}

void TForm1::BuildControls(QWidget* client) {
    // The pictures are drawn for the screen's pixel ratio, sharp when scaled.
    const qreal ratio = client->devicePixelRatioF();
    // From back to front, as designed.
    image2_ = new BannerImage(PictureAt(FixedPicture::kBanner, ratio), client);
    image2_->setObjectName(QStringLiteral("Image2"));
    image2_->move(0, 0);
    image2_->setAccessibleName(QStringLiteral("Powered by ") + QString::fromLatin1(chart::kPublisherHost));
    image2_->onMouseMove = [this](int x, int y) { Image2MouseMove(x, y); };
    image2_->onClick = [this] { RunGuarded(this, [this] { Image2Click(); }); };

    image1_ = new QLabel(client);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setPixmap(QPixmap::fromImage(PictureAt(FixedPicture::kHeadings, ratio)));
    image1_->setGeometry(225, 0, 239, 55);
    image1_->setAttribute(Qt::WA_TranslucentBackground);
    image1_->setAccessibleName(QStringLiteral(
        "OS support, Demo version, Interception, Log viewing, Security, Network options, Total"));

    speedButton1_ = new QPushButton(client);
    speedButton1_->setObjectName(QStringLiteral("SpeedButton1"));
    speedButton1_->setText(QStringLiteral("Update"));
    speedButton1_->setIcon(QIcon(QPixmap::fromImage(PictureAt(FixedPicture::kUpdateGlyph, ratio))));
    speedButton1_->setIconSize(QSize(16, 16));
    speedButton1_->setFlat(true);
    speedButton1_->setFocusPolicy(Qt::NoFocus);
    speedButton1_->setGeometry(0, 336, 761, 25);
    connect(speedButton1_, &QPushButton::clicked, this, [this] { SpeedButton1Click(); });

    stringGrid1_ = new ChartGrid(grid_, client);
    stringGrid1_->setObjectName(QStringLiteral("StringGrid1"));
    stringGrid1_->setAccessibleName(QStringLiteral("Chart"));
    stringGrid1_->setFont(MsSansSerifFont(8));
    stringGrid1_->setGeometry(0, 54, 429, 281);
    stringGrid1_->SetOnClick([this] { StringGrid1Click(); });
    stringGrid1_->SetOnMouseMove([this] { StringGrid1MouseMove(); });

    memo1_ = new QPlainTextEdit(client);
    memo1_->setObjectName(QStringLiteral("Memo1"));
    memo1_->setAccessibleName(QStringLiteral("Details"));
    memo1_->setFont(ArialFont(9));
    memo1_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Words wrap as before; only a word wider than the memo breaks inside.
    memo1_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo1_->setGeometry(432, 54, 329, 281);
    memo1_->setTabChangesFocus(true);  // Tab leaves the panel; typing stays allowed

    auto* statusBar = new QFrame(client);
    statusBar1_ = statusBar;
    statusBar->setObjectName(QStringLiteral("StatusBar1"));
    statusBar->setGeometry(0, 362, 761, 17);
    auto* panel0 = new QFrame(statusBar);
    panel0->setObjectName(QStringLiteral("StatusBar1Panel0"));
    panel0->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel0->setGeometry(0, 0, 650, 17);
    auto* panel1 = new QFrame(statusBar);
    panel1->setObjectName(QStringLiteral("StatusBar1Panel1"));
    panel1->setFrameStyle(QFrame::NoFrame);
    panel1->setGeometry(652, 0, 50, 17);

    progressBar1_ = new QProgressBar(client);
    progressBar1_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar1_->setAccessibleName(QStringLiteral("Update progress"));
    progressBar1_->setRange(0, 100);
    progressBar1_->setValue(0);
    progressBar1_->setTextVisible(false);
    progressBar1_->setGeometry(655, 364, 106, 15);

    setTabOrder(stringGrid1_, memo1_);
}

void TForm1::BuildMenu() {
    QMenuBar* mainMenu1 = menuBar();
    mainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    QMenu* file1 = mainMenu1->addMenu(QStringLiteral("File"));
    file1->setObjectName(QStringLiteral("File1"));
    exit1_ = file1->addAction(QStringLiteral("Exit"), this, [this] { Exit1Click(); });
    exit1_->setObjectName(QStringLiteral("Exit1"));
    QMenu* options1 = mainMenu1->addMenu(QStringLiteral("Options"));
    options1->setObjectName(QStringLiteral("Options1"));
    update1_ = options1->addAction(QStringLiteral("Update"), this, [this] { SpeedButton1Click(); });
    update1_->setObjectName(QStringLiteral("Update1"));
    // Enabled once an Update's reload has something to tell, if only that nothing changed.
    whatChanged1_ = options1->addAction(QStringLiteral("What changed\u2026"), this, [this] { WhatChanged1Click(); });
    whatChanged1_->setObjectName(QStringLiteral("WhatChanged1"));
    whatChanged1_->setEnabled(false);
    // Enabled whenever the grid holds a chart.
    compare1_ = options1->addAction(QStringLiteral("Compare\u2026"), this, [this] { Compare1Click(); });
    compare1_->setObjectName(QStringLiteral("Compare1"));
    compare1_->setEnabled(false);
    QMenu* help1 = mainMenu1->addMenu(QStringLiteral("Help"));
    help1->setObjectName(QStringLiteral("Help1"));
    about1_ = help1->addAction(QStringLiteral("About"), this, [this] { About1Click(); });
    about1_->setObjectName(QStringLiteral("About1"));
    ReachMenuBarByKeyboard(*this);
}

void TForm1::FormCreate() {
    if (auto snapshot = ReadFolder()) {
        chart_->FormCreate(*snapshot);
    } else {
        tables_.LatestVersion = tables_.RequiredVersion = std::string(chart::BuiltInVersion);
    }
    shown_ = std::make_shared<const chart::ShownChart>(chart_->Shown());
    history_->Start(shown_, Now());
    ShowInCompare();
}

void TForm1::Exit1Click() { close(); }

void TForm1::closeEvent(QCloseEvent* event) {
    closing_ = true;
    event->accept();
    emit closed();
}

void TForm1::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMaximized))
        QMetaObject::invokeMethod(this, [this] { setWindowState(windowState() & ~Qt::WindowMaximized); },
                                  Qt::QueuedConnection);
}

void TForm1::SpeedButton1Click() {
    if (startUpdate_)
        RunGuarded(this, startUpdate_);
}

void TForm1::About1Click() {
    if (!aboutBox_)
        aboutBox_ = new TOKRightDlg(*documents_, this);
    if (aboutBox_->isVisible())
        return;
    aboutBox_->ShowCentred();
}

void TForm1::Image2MouseMove(int X, int Y) {
    if (X >= kLinkZoneLeft && Y <= kLinkZoneBottom)
        image2_->setCursor(Qt::PointingHandCursor);
    else
        image2_->setCursor(Qt::ArrowCursor);
}

void TForm1::Image2Click() {
    // The click acts on the cursor the last mouse move set, as the window was
    // designed: the link zone is decided in one place, so the pointing hand
    // and the link never disagree.
    if (image2_->cursor().shape() == Qt::PointingHandCursor)
        documents_->OpenDocument(chart::kPublisherPage);
}

void TForm1::StringGrid1Click() {}

void TForm1::StringGrid1MouseMove() {}

void TForm1::SetProgress(int position) { progressBar1_->setValue(position); }

void TForm1::SetGridEnabled(bool enabled) { grid_.SetEnabled(enabled); }

bool TForm1::GridEnabled() const { return grid_.Enabled(); }

void TForm1::SetUpdateCommandsEnabled(bool enabled) {
    speedButton1_->setEnabled(enabled);
    update1_->setEnabled(enabled);
}

std::optional<chart::ChartSnapshot> TForm1::ReadFolder() {
    folder::ReaderWaits waits;
    waits.window = folderWait_.get();
    waits.onCommitWait = [this] { messages_->ShowMessage(folder::kWaitingForAnotherCopyMessage); };
    folder::ChartRead read = folder::ReadChartFolder(chart_->ChartDirectory(), waits);
    switch (read.outcome) {
    case folder::ChartRead::Outcome::Read:
        return std::move(read.snapshot);
    case folder::ChartRead::Outcome::Abandoned:
        return std::nullopt;  // the program is ending
    case folder::ChartRead::Outcome::CommitNotFinished:
    case folder::ChartRead::Outcome::NotRead:
        break;
    }
    // The files may be of two charts: none of them is read.
    messages_->ShowMessage(read.message);
    grid_.SetEnabled(false);
    return std::nullopt;
}

void TForm1::ReadAll() {
    // The wait for the folder and the message boxes answer events, among them
    // an update's end asking for a reload: that one runs after this one.
    if (reloading_) {
        reloadAgain_ = true;
        return;
    }
    reloading_ = true;
    do {
        reloadAgain_ = false;
        ReloadOnce();
    } while (reloadAgain_ && !closing_);
    reloading_ = false;
}

void TForm1::ReloadOnce() {
    std::string dataSignature;
    RunGuarded(this, [&] {
        if (auto snapshot = ReadFolder()) {
            chart_->ReadAll(*snapshot);
            dataSignature = snapshot->DataSignature();
        }
    });
    // As the load left it, before an update disables the grid: What changed
    // compares it, Compare shows it.
    shown_ = std::make_shared<const chart::ShownChart>(chart_->Shown());
    // What the reload changed, for Options/What changed…, worked out while
    // the window goes on; nothing of it is written anywhere.
    history_->Reload(shown_, Now(), std::move(dataSignature));
    ShowInCompare();
}

void TForm1::WhatChanged1Click() {
    if (!whatChanged1_->isEnabled())
        return;
    if (changes_->isVisible()) {  // where the reader has it
        changes_->raise();
        changes_->activateWindow();
        return;
    }
    changesPlacement_->Show();
}

void TForm1::Compare1Click() {
    if (!compare1_->isEnabled() || !shown_)
        return;
    if (!compare_) {
        // What the window points into stays in view: the grid and the details panel.
        compare_ = std::make_unique<CompareWindow>(*this, [this] {
            return QRect(stringGrid1_->mapTo(this, QPoint(0, 0)),
                         memo1_->mapTo(this, QPoint(memo1_->width() - 1, memo1_->height() - 1)));
        });
        // Its Total, never its name (which would open its page).
        compare_->onSelectProgram = [this](int row) { stringGrid1_->Select(chart::kTotalResultColumn, row); };
        RunGuarded(this, [this] { compare_->ShowChart(*shown_); });
    }
    compare_->Open();
}

void TForm1::ShowInCompare() {
    compare1_->setEnabled(shown_ && shown_->enabled && shown_->Programs() > 0);
    if (compare_ && shown_)
        RunGuarded(this, [this] { compare_->ShowChart(*shown_); });
}

bool TForm1::WhatChangedEnabled() const { return whatChanged1_->isEnabled(); }

bool TForm1::WhatChangedUpToDate() const { return !history_->Working(); }

void TForm1::ShowMessageText(const std::string& text) { messages_->ShowMessage(text); }

}  // namespace vantrel::ui
