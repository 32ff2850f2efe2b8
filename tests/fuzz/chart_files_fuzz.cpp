// The three chart files from one input (version, data and policy, split at
// the first two 0x01 bytes), loaded, then every cell selected and every
// test's details asked for, and loaded once more over the result.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "chart/chart_form.h"
#include "chart/loading/chart_load.h"
#include "chart/details/conversion_error.h"
#include "chart/details/web_address.h"
#include "fuzz_support.h"
#include "support/folder_snapshot.h"

namespace {

// Ports that do nothing but check what they are asked.
class Ports : public chart::MessagePort, public chart::DocumentPort, public chart::DetailsPanel {
public:
    void ShowMessage(const std::string&) override {}
    void OpenDocument(const std::string& address) override {
        fuzz::Require(chart::IsWebAddress(address), "only web addresses are opened");
        // What is handed over needs no further escaping and parses as it is.
        fuzz::Require(chart::AddressToOpen(address) == address, "opened addresses are already clean");
    }
    void Clear() override { text_.clear(); }
    std::string Text() const override { return text_; }
    void SetText(const std::string& text) override { text_ = text; }

private:
    std::string text_;
};

void RequireDetailsShape(const std::string& text) {
    fuzz::Require(text.size() >= 4 && text.compare(text.size() - 4, 4, "\r\n\r\n") == 0,
                  "details end with an empty line");
}

void SelectEverything(chart::ChartForm& form, chart::GridModel& grid) {
    for (int row = -1; row <= grid.RowCount() + 1; ++row) {
        for (int col = -1; col <= grid.ColCount(); ++col) {
            bool canSelect = true;
            try {
                form.StringGrid1SelectCell(col, row, canSelect);
            } catch (const chart::ConversionError&) {
                // a count that is not an integer: expected for a user's selection
            }
            fuzz::Require(canSelect, "every selection proceeds");
            try {
                grid.SelectCell(col, row);  // through the grid, moving the current cell
            } catch (const chart::ConversionError&) {
            }
        }
    }
    grid.Wheel(-120 * 3);
    grid.Wheel(120);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t first = input.find('\x01');
    const std::size_t second = first == std::string_view::npos ? first : input.find('\x01', first + 1);
    const auto part = [&](std::size_t from, std::size_t to) {
        if (from == std::string_view::npos || from > input.size()) return std::string_view{};
        return input.substr(from, to == std::string_view::npos ? to : to - from);
    };
    const std::string& dir = fuzz::ScratchDirectory();
    fuzz::WriteFile(dir + "/version", part(0, first));
    fuzz::WriteFile(dir + "/data", first == std::string_view::npos ? "" : part(first + 1, second));
    fuzz::WriteFile(dir + "/policy", second == std::string_view::npos ? "" : part(second + 1, std::string_view::npos));

    Ports ports;
    chart::ChartTables tables;
    chart::GridModel grid;
    chart::ChartForm form(tables, grid, chart::ChartPorts{ports, ports, ports}, dir, "www.vantrel.example");
    const chart::ChartSnapshot files = support::FolderSnapshot(dir);
    form.FormCreate(files);
    // Again past a version gate that stopped the load.
    chart::LoadChart(files, tables, grid, chart::LoadRules{"www.vantrel.example", true});
    fuzz::Require(grid.RowCount() >= 1 && grid.RowCount() <= chart::kMaxPrograms + 1,
                  "row count within the tables");

    for (int row = 0; row <= chart::kMaxPrograms + 1; ++row) {
        for (int col = 0; col <= chart::kTestCount + 1; ++col) {
            try {
                RequireDetailsShape(form.GetHintForTest(row, col));
            } catch (const chart::ConversionError&) {
            }
        }
    }
    SelectEverything(form, grid);
    // A reload with the current cell wherever the selections left it.
    form.ReadAll(support::FolderSnapshot(dir));
    SelectEverything(form, grid);
    return 0;
}
