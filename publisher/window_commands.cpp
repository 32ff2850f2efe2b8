// `vantrel-chart show` and `preview`, through the window offscreen.
#include "publisher/window_commands.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <set>

#include "chart/publisher_values.h"
#include "publisher/loaded_chart.h"
#include "publisher/text_output.h"
#include "publisher/updating_reader.h"
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

// The window on the chart: started on it, or on the served chart and then
// updated to it.
std::unique_ptr<vantrel::ui::OffscreenView> Window(const PublisherFolder& chart, const std::string& served) {
    if (served.empty()) return std::make_unique<vantrel::ui::OffscreenView>(SnapshotOf(chart));
    auto view = std::make_unique<vantrel::ui::OffscreenView>(SnapshotOf(PublisherFolder(served)));
    view->Reload(SnapshotOf(chart));
    return view;
}

}  // namespace

int RunShow(const std::string& folder, const std::string& served, std::optional<Cell> cell, std::ostream& out,
            std::ostream& err) {
    const PublisherFolder chart(folder);
    const auto view = Window(chart, served);
    Print(err, view->LoadMessages());
    if (cell) {
        Print(out, Select(*view, *cell));
        return 0;
    }
    // The cells readers who update keep from the served chart, by the chart
    // core's own loads.
    std::set<std::pair<int, int>> kept;
    if (!served.empty()) {
        const auto differences = DifferencesFromFresh(UpdatedChart(PublisherFolder(served), chart, chart::kPublisherHost),
                                                      LoadedChart(chart, chart::kPublisherHost));
        for (const auto& difference : differences.cells) kept.emplace(difference.row, difference.col);
    }
    const auto grid = view->Grid();
    for (std::size_t row = 0; row < grid.size(); ++row) {
        std::string line;
        for (std::size_t col = 0; col < grid[row].size(); ++col)
            line += (col ? "\t" : "") + ForTerminal(grid[row][col]) +
                    (kept.contains({static_cast<int>(row), static_cast<int>(col)}) ? kKeptMark : "");
        out << line << '\n';
    }
    return 0;
}

int RunPreview(const std::string& folder, const std::string& served, const std::string& output,
               std::optional<Cell> cell, std::ostream& out, std::ostream& err) {
    const PublisherFolder chart(folder);
    if (output != "-") {
        RefuseToWriteIntoTheChart(chart, output);
        if (!served.empty()) RefuseToWriteIntoTheChart(PublisherFolder(served), output);
    }
    const auto window = Window(chart, served);
    vantrel::ui::OffscreenView& view = *window;
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
