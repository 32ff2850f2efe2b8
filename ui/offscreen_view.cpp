// The main window offscreen over a chart given as bytes, for the publisher's tool.
#include "ui/offscreen_view.h"

#include <QApplication>
#include <QBuffer>
#include <QPlainTextEdit>
#include <QPixmap>
#include <cstdio>

#include "chart/recording_ports.h"
#include "ui/Unit1.h"
#include "ui/error_box.h"
#include "ui/grid/chart_grid.h"
#include "ui/text/byte_text.h"
#include "ui/text/display_text.h"

namespace vantrel::ui {
namespace {

// Each line of a text as a widget shows it, labelled.
void AddLines(std::vector<std::string>& out, const char* label, const QString& shown) {
    QStringList lines = shown.split(QChar(u'\n'));
    if (lines.size() > 1 && lines.back().isEmpty()) lines.removeLast();  // the text's last line end
    for (const QString& line : lines) out.push_back(label + EncodeUtf8(line));
}

// Qt's remarks about the session it runs in (no runtime folder, say) are
// not the publisher's business; only its failures are told.
void QuietHandler(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

// The view's own application, when the process has none.
struct OffscreenView::Application {
    int argc = 1;
    char programName[14] = "vantrel-chart";
    char* argv[2] = {programName, nullptr};
    std::unique_ptr<QApplication> app;

    Application() {
        if (QCoreApplication::instance()) return;
        // Never a window on the user's screen, whatever the session.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(QuietHandler);
        app = std::make_unique<QApplication>(argc, argv);
    }
};

OffscreenView::OffscreenView(const chart::ChartSnapshot& chart)
    : application_(std::make_unique<Application>()), ports_(std::make_unique<chart::RecordingPorts>()) {
    FormPorts ports;
    ports.messages = ports_.get();
    ports.documents = ports_.get();
    form_ = std::make_unique<TForm1>(chart, ports);
    loadEvents_ = ports_->events.size();
}

OffscreenView::~OffscreenView() { form_.reset(); }

void OffscreenView::Reload(const chart::ChartSnapshot& chart) {
    loadBegins_ = ports_->events.size();
    form_->Chart().ReadAll(chart);
    loadEvents_ = ports_->events.size();
}

std::vector<std::string> OffscreenView::LoadMessages() const {
    std::vector<std::string> lines;
    for (std::size_t i = loadBegins_; i < loadEvents_; ++i) AddLines(lines, "message: ", DisplayLines(ports_->events[i].text));
    return lines;
}

std::vector<std::vector<std::string>> OffscreenView::Grid() const {
    const QAbstractItemModel& model = *form_->StringGrid1().model();
    std::vector<std::vector<std::string>> rows(1);
    for (int col = 0; col < model.columnCount(); ++col)
        rows[0].push_back(EncodeUtf8(model.headerData(col, Qt::Horizontal).toString()));
    for (int row = 0; row < model.rowCount(); ++row) {
        auto& cells = rows.emplace_back();
        for (int col = 0; col < model.columnCount(); ++col)
            cells.push_back(EncodeUtf8(model.data(model.index(row, col)).toString()));
    }
    return rows;
}

bool OffscreenView::HasCell(int col, int row) const {
    const chart::GridModel& grid = form_->GridModel();
    return col >= 0 && col < grid.ColCount() && row >= grid.FixedRows() && row < grid.RowCount();
}

std::vector<std::string> OffscreenView::Select(int col, int row) {
    chart::GridModel& grid = form_->GridModel();
    if (!grid.Enabled()) return {"none: the grid is disabled: the window takes no selection"};
    if (!HasCell(col, row)) return {"none: the grid has no cell " + std::to_string(col) + "," + std::to_string(row)};

    const std::size_t before = ports_->events.size();
    std::optional<std::string> error;
    // As a click does; an error the handler raises goes to the error box.
    try {
        grid.SelectCell(col, row);
    } catch (const std::exception& raised) {
        error = ErrorBoxText(raised.what());
    }
    std::vector<std::string> lines;
    if (!form_->Memo1().toPlainText().isEmpty()) AddLines(lines, "details: ", form_->Memo1().toPlainText());
    for (std::size_t i = before; i < ports_->events.size(); ++i) {
        const auto& event = ports_->events[i];
        if (event.kind == chart::RecordingPorts::Event::Kind::Open) lines.push_back("opens: " + event.text);
        else AddLines(lines, "message: ", DisplayLines(event.text));
    }
    if (error) AddLines(lines, "error: ", DisplayLines(*error));
    return lines;
}

std::string OffscreenView::Picture(bool gridFocused) {
    form_->show();
    form_->activateWindow();
    if (gridFocused) form_->StringGrid1().setFocus();
    QApplication::processEvents();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    form_->grab().save(&buffer, "PNG");
    return png.toStdString();
}

}  // namespace vantrel::ui
