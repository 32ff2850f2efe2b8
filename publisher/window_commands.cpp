#include "publisher/window_commands.h"

#include <filesystem>
#include <fstream>
#include <ostream>

#include "publisher/loaded_chart.h"
#include "publisher/text_output.h"
#include "ui/offscreen_view.h"

namespace publisher {
namespace {

namespace fs = std::filesystem;

void Print(std::ostream& to, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) to << ForTerminal(line) << '\n';
}

// What selecting the cell does; a cell the grid does not have is the command
// line's fault.
std::vector<std::string> Select(vantrel::ui::OffscreenView& view, const Cell& cell) {
    const auto lines = view.Select(cell.col, cell.row);
    if (!lines.empty() && lines.front().starts_with("none: the grid has no cell"))
        throw UsageError("--cell " + std::to_string(cell.col) + "," + std::to_string(cell.row) +
                         ": the grid has no such cell");
    return lines;
}

// The publisher's folder is never written: not inside it, not over any of
// its files through a link.
void RefuseToWriteIntoTheChart(const PublisherFolder& folder, const std::string& output) {
    std::error_code error;
    const fs::path inside = fs::weakly_canonical(folder.Directory(), error);
    const fs::path target = fs::weakly_canonical(output, error);
    const auto [end, rest] = std::mismatch(inside.begin(), inside.end(), target.begin(), target.end());
    bool refused = end == inside.end();
    for (std::size_t file = 0; file < PublisherFolder::kFiles && !refused; ++file)
        for (const std::string& path : {folder.Path(file), folder.SignaturePath(file)})
            refused = refused || fs::equivalent(output, path, error);
    if (refused)
        throw UsageError("-o " + output + " is in the chart's folder or is one of its files: preview never writes "
                         "where it reads (-o - writes to standard output)");
}

}  // namespace

int RunShow(const std::string& folder, std::optional<Cell> cell, std::ostream& out, std::ostream& err) {
    vantrel::ui::OffscreenView view(SnapshotOf(PublisherFolder(folder)));
    Print(err, view.LoadMessages());
    if (cell) {
        Print(out, Select(view, *cell));
        return 0;
    }
    for (const auto& row : view.Grid()) {
        std::string line;
        for (std::size_t col = 0; col < row.size(); ++col) line += (col ? "\t" : "") + ForTerminal(row[col]);
        out << line << '\n';
    }
    return 0;
}

int RunPreview(const std::string& folder, const std::string& output, std::optional<Cell> cell, std::ostream& out,
               std::ostream& err) {
    const PublisherFolder chart(folder);
    if (output != "-") RefuseToWriteIntoTheChart(chart, output);
    vantrel::ui::OffscreenView view(SnapshotOf(chart));
    Print(err, view.LoadMessages());
    if (cell) Print(err, Select(view, *cell));
    const std::string png = view.Picture(cell.has_value());
    if (output == "-") {
        out.write(png.data(), static_cast<std::streamsize>(png.size()));
        return out.flush() ? 0 : 2;
    }
    std::ofstream file(output, std::ios::binary | std::ios::trunc);
    if (!file.write(png.data(), static_cast<std::streamsize>(png.size())) || !file.flush()) {
        err << "vantrel-chart: cannot write " << output << '\n';
        return 2;
    }
    return 0;
}

}  // namespace publisher
