#include "publisher/offscreen_window.h"

#include <QPlainTextEdit>
#include <cstdio>

#include "chart/details/conversion_error.h"
#include "ui/error_box.h"
#include "ui/grid/chart_grid.h"
#include "ui/text/byte_text.h"
#include "ui/text/display_text.h"

namespace publisher {
namespace {

// Each line of a text as a widget shows it, labelled.
void AddLines(std::vector<std::string>& out, const char* label, const QString& shown) {
    QStringList lines = shown.split(QChar(u'\n'));
    if (lines.size() > 1 && lines.back().isEmpty()) lines.removeLast();  // the text's last line end
    for (const QString& line : lines) out.push_back(label + vantrel::ui::EncodeUtf8(line));
}

// Qt's remarks about the session it runs in (no runtime folder, say) are
// not the publisher's business; only its failures are told.
void QuietHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) fprintf(stderr, "%s\n", qPrintable(message));
}

QApplication* OffscreenApplication(std::unique_ptr<QApplication>& own, int& argc, char** argv) {
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return existing;
    // Never a window on the user's screen, whatever the session.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietHandler);
    own = std::make_unique<QApplication>(argc, argv);
    return own.get();
}

}  // namespace

OffscreenWindow::OffscreenWindow(const PublisherFolder& folder) : copy_(folder) {
    OffscreenApplication(ownApplication_, argc_, argv_);
    form_ = std::make_unique<vantrel::ui::TForm1>(copy_.Path(), vantrel::ui::FormPorts{&ports_, &ports_});
    loadEvents_ = ports_.events.size();
}

OffscreenWindow::~OffscreenWindow() { form_.reset(); }

std::vector<std::string> OffscreenWindow::LoadMessages() const {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < loadEvents_; ++i)
        AddLines(lines, "message: ", vantrel::ui::DisplayLines(ports_.events[i].text));
    return lines;
}

std::vector<std::string> OffscreenWindow::GridLines() {
    const QAbstractItemModel& model = *form_->StringGrid1().model();
    std::vector<std::string> lines;
    QStringList headings;
    for (int col = 0; col < model.columnCount(); ++col)
        headings << model.headerData(col, Qt::Horizontal).toString();
    lines.push_back(vantrel::ui::EncodeUtf8(headings.join(QChar(u'\t'))));
    for (int row = 0; row < model.rowCount(); ++row) {
        QStringList cells;
        for (int col = 0; col < model.columnCount(); ++col) cells << model.data(model.index(row, col)).toString();
        lines.push_back(vantrel::ui::EncodeUtf8(cells.join(QChar(u'\t'))));
    }
    return lines;
}

std::vector<std::string> OffscreenWindow::Select(Cell cell) {
    chart::GridModel& grid = form_->GridModel();
    std::vector<std::string> lines;
    if (!grid.Enabled()) return {"none: the grid is disabled: the window takes no selection"};
    if (cell.col >= grid.ColCount() || cell.row < grid.FixedRows() || cell.row >= grid.RowCount())
        return {"none: the grid has no cell " + std::to_string(cell.col) + "," + std::to_string(cell.row)};

    const std::size_t before = ports_.events.size();
    std::optional<std::string> error;
    // As a click does; an error the handler raises goes to the error box.
    try {
        grid.SelectCell(cell.col, cell.row);
    } catch (const std::exception& raised) {
        error = vantrel::ui::ErrorBoxText(raised.what());
    }
    AddLines(lines, "details: ", form_->Memo1().toPlainText());
    if (lines.size() == 1 && lines[0] == "details: ") lines.clear();  // the panel left empty
    for (std::size_t i = before; i < ports_.events.size(); ++i) {
        const auto& event = ports_.events[i];
        if (event.kind == RecordingPorts::Event::Kind::Open) lines.push_back("opens: " + event.text);
        else AddLines(lines, "message: ", vantrel::ui::DisplayLines(event.text));
    }
    if (error) AddLines(lines, "error: ", vantrel::ui::DisplayLines(*error));
    return lines;
}

}  // namespace publisher
