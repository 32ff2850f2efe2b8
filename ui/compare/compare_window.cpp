// The Compare window: its views over the compare model, saving and printing.
#include "ui/compare/compare_window.h"

#include <QCheckBox>
#include <QCollator>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QShortcut>
#include <QSplitter>
#include <QTableView>
#include <QTextDocument>
#include <QTreeView>
#include <QVBoxLayout>

#include "chart/compare/compare_csv.h"
#include "chart/compare/side_by_side.h"
#include "ui/compare/compare_settings.h"
#include "ui/compare/must_have_model.h"
#include "ui/compare/programs_model.h"
#include "ui/compare/programs_proxy.h"
#include "ui/compare/side_by_side_model.h"
#include "ui/compare/side_by_side_print.h"
#include "ui/ports/message_box.h"
#include "ui/side_window_placement.h"

namespace vantrel::ui {
namespace {

// Room enough for the three panes side by side; the window shrinks to the
// room beside the main window, down to this.
const QSize kLeast(720, 280);
const QSize kWanted(1200, 560);

QLabel* PlainLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// Names in the reader's own alphabet, letter case aside.
chart::CompareModel::NameComparison ReadersOrder() {
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return [collator](std::string_view a, std::string_view b) {
        return collator.compare(QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size())),
                                QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size())));
    };
}

}  // namespace

CompareWindow::CompareWindow(QWidget& mainWindow, std::function<QRect()> keep)
    : QWidget(nullptr, Qt::Window) {
    setObjectName(QStringLiteral("Compare"));
    setWindowTitle(QStringLiteral("Compare"));
    setAccessibleName(QStringLiteral("Compare"));
    setMinimumSize(kLeast);
    BuildControls();
    // A window of its own beside the main one, never kept above it.
    placement_ = new SideWindowPlacement(*this, mainWindow, kLeast, std::move(keep));
    auto* hide = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(hide, &QShortcut::activated, this, &QWidget::close);
}

CompareWindow::~CompareWindow() {
    // The views let go of the models before the core they draw goes.
    proxy_->SetCore(nullptr);
    programsModel_->SetCore(nullptr);
    mustHaveModel_->SetCore(nullptr);
    sideBySideModel_->Show(nullptr, false);
}

void CompareWindow::BuildControls() {
    // Programs: Find, Sort by and its order, the table, the count.
    auto* programsPane = new QWidget(this);
    find_ = new QLineEdit(programsPane);
    find_->setObjectName(QStringLiteral("Find"));
    find_->setAccessibleName(QStringLiteral("Find"));
    find_->setPlaceholderText(QStringLiteral("Find a program by name"));
    find_->setClearButtonEnabled(true);
    sortBy_ = new QComboBox(programsPane);
    sortBy_->setObjectName(QStringLiteral("SortBy"));
    sortBy_->setAccessibleName(QStringLiteral("Sort by"));
    sortBy_->addItem(QStringLiteral("Chart order"), -1);
    for (int column = 0; column < chart::kCompareColumns; ++column)
        sortBy_->addItem(QString::fromLatin1(chart::CompareChart::ColumnHeading(column)), column);
    sortOrder_ = new QComboBox(programsPane);
    sortOrder_->setObjectName(QStringLiteral("SortOrder"));
    sortOrder_->setAccessibleName(QStringLiteral("Sort order"));
    sortOrder_->addItem(QStringLiteral("Ascending"), static_cast<int>(Qt::AscendingOrder));
    sortOrder_->addItem(QStringLiteral("Descending"), static_cast<int>(Qt::DescendingOrder));

    programsModel_ = new ProgramsModel(this);
    proxy_ = new ProgramsProxy(this);
    proxy_->setSourceModel(programsModel_);
    programs_ = new QTableView(programsPane);
    programs_->setObjectName(QStringLiteral("Programs"));
    programs_->setAccessibleName(QStringLiteral("Programs"));
    programs_->setModel(proxy_);
    programs_->setSelectionBehavior(QAbstractItemView::SelectRows);
    programs_->setSelectionMode(QAbstractItemView::SingleSelection);
    programs_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    programs_->setTabKeyNavigation(false);
    programs_->setWordWrap(false);
    programs_->verticalHeader()->hide();
    QHeaderView* headings = programs_->horizontalHeader();
    headings->setSortIndicatorShown(true);
    headings->setSectionsClickable(true);
    headings->setSortIndicator(-1, Qt::AscendingOrder);
    headings->setMinimumSectionSize(24);
    headings->resizeSection(chart::kNameColumn, headings->fontMetrics().averageCharWidth() * 24);
    for (int column = 1; column < chart::kCompareColumns; ++column)
        headings->resizeSection(column, headings->fontMetrics().horizontalAdvance(
                                            QString::fromLatin1(chart::CompareChart::ColumnHeading(column))) + 28);
    programs_->installEventFilter(this);

    count_ = PlainLabel(QString(), programsPane);
    count_->setObjectName(QStringLiteral("Count"));
    ruledOut_ = PlainLabel(QString(), programsPane);
    ruledOut_->setObjectName(QStringLiteral("RuledOut"));
    ruledOut_->setWordWrap(true);
    notes_ = PlainLabel(QString(), programsPane);
    notes_->setObjectName(QStringLiteral("Notes"));
    notes_->setWordWrap(true);

    auto* sortRow = new QHBoxLayout;
    auto* findLabel = PlainLabel(QStringLiteral("Find:"), programsPane);
    findLabel->setBuddy(find_);
    auto* sortLabel = PlainLabel(QStringLiteral("Sort by:"), programsPane);
    sortLabel->setBuddy(sortBy_);
    sortRow->addWidget(findLabel);
    sortRow->addWidget(find_, 1);
    sortRow->addWidget(sortLabel);
    sortRow->addWidget(sortBy_);
    sortRow->addWidget(sortOrder_);
    auto* programsLayout = new QVBoxLayout(programsPane);
    programsLayout->setContentsMargins(0, 0, 0, 0);
    programsLayout->addLayout(sortRow);
    programsLayout->addWidget(programs_, 1);
    programsLayout->addWidget(count_);
    programsLayout->addWidget(ruledOut_);
    programsLayout->addWidget(notes_);

    // Must have: the tests and their sub-criteria.
    mustHaveModel_ = new MustHaveModel(this);
    mustHaves_ = new QTreeView(this);
    mustHaves_->setObjectName(QStringLiteral("MustHave"));
    mustHaves_->setAccessibleName(QStringLiteral("Must have"));
    mustHaves_->setModel(mustHaveModel_);
    mustHaves_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mustHaves_->setUniformRowHeights(true);

    // Side by side: the shortlist, its rows, and what leaves the window.
    auto* sidePane = new QWidget(this);
    differencesOnly_ = new QCheckBox(QStringLiteral("Differences only"), sidePane);
    differencesOnly_->setObjectName(QStringLiteral("DifferencesOnly"));
    needsTwo_ = PlainLabel(QString::fromLatin1(chart::kSideBySideNeedsTwo), sidePane);
    needsTwo_->setWordWrap(true);
    needsTwo_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    sideBySideModel_ = new SideBySideModel(this);
    sideBySideModel_->SetPalette(palette());
    sideBySide_ = new QTableView(sidePane);
    sideBySide_->setObjectName(QStringLiteral("SideBySide"));
    sideBySide_->setAccessibleName(QStringLiteral("Side by side"));
    sideBySide_->setModel(sideBySideModel_);
    sideBySide_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sideBySide_->setSelectionMode(QAbstractItemView::SingleSelection);
    sideBySide_->setTabKeyNavigation(false);
    sideBySide_->setWordWrap(false);
    sideBySide_->verticalHeader()->hide();
    sideBySide_->horizontalHeader()->setSectionsClickable(true);
    sideBySide_->horizontalHeader()->setStretchLastSection(true);
    saveCsv_ = new QPushButton(QStringLiteral("Save as CSV\u2026"), sidePane);
    saveCsv_->setObjectName(QStringLiteral("SaveCsv"));
    print_ = new QPushButton(QStringLiteral("Print\u2026"), sidePane);
    print_->setObjectName(QStringLiteral("Print"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(differencesOnly_);
    buttons->addStretch(1);
    buttons->addWidget(saveCsv_);
    buttons->addWidget(print_);
    auto* sideLayout = new QVBoxLayout(sidePane);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(needsTwo_);
    sideLayout->addWidget(sideBySide_, 1);
    sideLayout->addLayout(buttons);

    auto* panes = new QSplitter(Qt::Horizontal, this);
    panes->setChildrenCollapsible(false);
    panes->addWidget(programsPane);
    panes->addWidget(mustHaves_);
    panes->addWidget(sidePane);
    panes->setStretchFactor(0, 5);
    panes->setStretchFactor(1, 3);
    panes->setStretchFactor(2, 4);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panes);

    // The keyboard's way through: Tab from control to control.
    QWidget* order[] = {find_, sortBy_, sortOrder_, programs_, mustHaves_, differencesOnly_, sideBySide_, saveCsv_, print_};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

    connect(find_, &QLineEdit::textChanged, this, &CompareWindow::FindChanged);
    const auto sortChosen = [this] {
        if (!sorting_)
            ApplySort(sortBy_->currentData().toInt(), static_cast<Qt::SortOrder>(sortOrder_->currentData().toInt()));
    };
    connect(sortBy_, &QComboBox::currentIndexChanged, this, sortChosen);
    connect(sortOrder_, &QComboBox::currentIndexChanged, this, sortChosen);
    connect(headings, &QHeaderView::sortIndicatorChanged, this, [this](int column, Qt::SortOrder order) {
        if (!sorting_) ApplySort(column, order);
    });
    connect(programsModel_, &ProgramsModel::shortlistChanged, this, &CompareWindow::ShortlistChanged);
    connect(programsModel_, &ProgramsModel::shortlistRefused, this, &CompareWindow::ShowNotes);
    connect(mustHaveModel_, &MustHaveModel::mustHavesChanged, this, &CompareWindow::MustHavesChanged);
    connect(differencesOnly_, &QCheckBox::toggled, this, &CompareWindow::ShowSideBySide);
    connect(saveCsv_, &QPushButton::clicked, this, &CompareWindow::SaveCsvClicked);
    connect(print_, &QPushButton::clicked, this, &CompareWindow::PrintClicked);

    // A program chosen in either list: by the keyboard or the mouse (both
    // give the list the focus first), or Enter on it.
    connect(programs_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
        if (programs_->hasFocus() && current.isValid()) SelectProgram(proxy_->mapToSource(current).row());
    });
    connect(programs_, &QAbstractItemView::activated, this,
            [this](const QModelIndex& index) { SelectProgram(proxy_->mapToSource(index).row()); });
    connect(sideBySide_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        if (sideBySide_->hasFocus() && current.isValid()) SelectProgram(sideBySideModel_->ProgramIn(current.column()));
    });
    connect(sideBySide_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (sideBySideModel_->ProgramIn(column) < 0) return;
        sideBySide_->selectColumn(column);
        SelectProgram(sideBySideModel_->ProgramIn(column));
    });
}

QSize CompareWindow::sizeHint() const { return kWanted; }

void CompareWindow::ShowChart(const chart::ShownChart& shown) {
    auto core = std::make_unique<chart::CompareModel>(shown);
    std::vector<std::string> notes;
    if (core_) {
        notes = core->KeepChoicesOf(*core_);
    } else {
        core->SetNameComparison(ReadersOrder());
        notes = core->Apply(LoadCompareChoices());
    }
    SetCore(std::move(core), notes);
    Remember();
}

void CompareWindow::SetCore(std::unique_ptr<chart::CompareModel> core, const std::vector<std::string>& notes) {
    // The proxy asks the new core before the rows it draws come.
    proxy_->SetCore(core.get());
    programsModel_->SetCore(core.get());
    mustHaveModel_->SetCore(core.get());
    mustHaves_->expandAll();
    sideBySideModel_->Show(core.get(), differencesOnly_->isChecked());
    core_ = std::move(core);  // the chart before goes once nothing draws it
    ApplySort(core_->SortColumn(), core_->Order() == chart::SortOrder::Descending ? Qt::DescendingOrder : Qt::AscendingOrder);
    ShowSideBySide();
    ShowCount();
    QString lines;
    for (const std::string& note : notes) lines += (lines.isEmpty() ? "" : "\n") + QString::fromStdString(note);
    ShowNotes(lines);
}

void CompareWindow::Open() { placement_->Show(); }

void CompareWindow::ApplySort(int column, Qt::SortOrder order) {
    if (!core_) return;
    if (column < 0) order = Qt::AscendingOrder;
    const bool changed = column != core_->SortColumn() ||
                         (order == Qt::DescendingOrder) != (core_->Order() == chart::SortOrder::Descending);
    proxy_->sort(column, order);
    ShowSort();
    if (changed) Remember();
}

// The heading, Sort by and its order all say the sort the core has.
void CompareWindow::ShowSort() {
    sorting_ = true;
    const int column = core_->SortColumn();
    const Qt::SortOrder order = core_->Order() == chart::SortOrder::Descending ? Qt::DescendingOrder : Qt::AscendingOrder;
    programs_->horizontalHeader()->setSortIndicator(column, order);
    sortBy_->setCurrentIndex(sortBy_->findData(column));
    sortOrder_->setCurrentIndex(sortOrder_->findData(static_cast<int>(order)));
    sortOrder_->setEnabled(column >= 0);
    sorting_ = false;
}

void CompareWindow::FindChanged(const QString& text) {
    if (!core_) return;
    core_->SetFind(text.toStdString());
    proxy_->Refilter();
    ShowCount();
}

void CompareWindow::MustHavesChanged() {
    proxy_->Refilter();
    ShowCount();
    Remember();
}

void CompareWindow::ShortlistChanged() {
    ShowNotes(QString());
    ShowSideBySide();
    Remember();
}

void CompareWindow::ShowSideBySide() {
    sideBySideModel_->Show(core_.get(), differencesOnly_->isChecked());
    needsTwo_->setVisible(!sideBySideModel_->Enough());
    sideBySide_->setVisible(sideBySideModel_->Enough());
    for (int column = 0; column < sideBySideModel_->columnCount(); ++column)
        sideBySide_->resizeColumnToContents(column);
}

void CompareWindow::ShowCount() {
    const QString count = QString::fromStdString(core_->CountText());
    count_->setText(count);
    count_->setAccessibleName(count);
    // One line on why a program Find keeps is ruled out by the must-haves.
    QString line;
    int more = 0;
    for (int p = 0; p < core_->Chart().Programs(); ++p) {
        if (!core_->MatchesFind(p) || core_->Kept(p)) continue;
        if (line.isEmpty())
            line = QString::fromStdString(core_->Chart().ProgramLabel(p) + ": " + core_->RuledOutLine(p));
        else
            ++more;
    }
    if (more > 0) line += QStringLiteral(" (and %1 more ruled out)").arg(more);
    ruledOut_->setText(line);
    ruledOut_->setAccessibleName(line);
    ruledOut_->setVisible(!line.isEmpty());
}

void CompareWindow::ShowNotes(const QString& text) {
    notes_->setText(text);
    notes_->setAccessibleName(text);
    notes_->setVisible(!text.isEmpty());
}

void CompareWindow::SelectProgram(int p) {
    if (core_ && p >= 0 && p < core_->Chart().Programs() && onSelectProgram) onSelectProgram(core_->Chart().Program(p).row);
}

bool CompareWindow::eventFilter(QObject* watched, QEvent* event) {
    // Space on a program puts it on the shortlist or takes it off, whichever
    // of its cells is current.
    if (watched == programs_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QModelIndex current = programs_->currentIndex();
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier && current.isValid()) {
            const int p = proxy_->mapToSource(current).row();
            programsModel_->SetShortlisted(p, !core_->Shortlisted(p));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CompareWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && sideBySideModel_) sideBySideModel_->SetPalette(palette());
}

void CompareWindow::SaveCsvClicked() {
    const QString path = chooseCsvFile ? chooseCsvFile()
                                       : QFileDialog::getSaveFileName(this, QStringLiteral("Save as CSV"),
                                                                      QDir::home().filePath(QStringLiteral("compare.csv")),
                                                                      QStringLiteral("CSV files (*.csv);;All files (*)"));
    if (!path.isEmpty()) SaveCsv(path);
}

bool CompareWindow::SaveCsv(const QString& path) {
    if (!core_) return false;
    const std::string csv = chart::CompareCsv(*core_);
    QSaveFile file(path);
    const bool saved = file.open(QIODevice::WriteOnly) &&
                       file.write(csv.data(), static_cast<qint64>(csv.size())) == static_cast<qint64>(csv.size()) &&
                       file.commit();
    if (!saved) {
        ShowMessageBox(this, QStringLiteral("The CSV file could not be saved as %1: %2")
                                 .arg(QDir::toNativeSeparators(path), file.errorString()));
        return false;
    }
    ShowNotes(QStringLiteral("Saved %1 as %2.").arg(QString::fromStdString(core_->CountText()), QDir::toNativeSeparators(path)));
    return true;
}

void CompareWindow::Print(QPrinter& printer) const { SideBySideDocument(*sideBySideModel_)->print(&printer); }

void CompareWindow::PrintClicked() {
    QPrintPreviewDialog preview(this);
    preview.setWindowTitle(QStringLiteral("Print side by side"));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) { Print(*printer); });
    preview.exec();
}

void CompareWindow::Remember() const {
    if (core_) SaveCompareChoices(core_->Choices());
}

}  // namespace vantrel::ui
