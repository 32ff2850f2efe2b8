// Measures, at build time, the font the window's grid draws its cells in, as a
// C++ header that `check` compiles in to know where the grid cuts a cell.
// Usage: vantrel_measure_grid_font OUTPUT.h
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QString>
#include <cstdio>
#include <fstream>
#include <vector>

#include "ui/design_fonts.h"
#include "ui/grid/chart_grid.h"

namespace {

// The grid's font size, as the main window sets it, and how far in from its
// left edge the cell delegate draws a cell's text (the tests hold both to the
// window's own).
constexpr int kGridFontPixelSize = 8;
constexpr int kTextInset = 2;
constexpr int kFixed = 64;  // the font engine's unit: 1/64 pixel

// The characters measured: the scripts a chart of program names is written
// in, with their punctuation and the invisible ones. Others are taken as one
// em wide.
constexpr std::pair<char32_t, char32_t> kMeasured[] = {
    {0x0001, 0x024F}, {0x0300, 0x036F}, {0x0370, 0x03FF}, {0x0400, 0x04FF}, {0x061C, 0x061C}, {0x180E, 0x180E},
    {0x2000, 0x206F}, {0x20A0, 0x20C0}, {0x2100, 0x215F}, {0x2190, 0x21FF}, {0xFEFF, 0xFEFF},
};
// Neighbours whose kerning is measured: Latin, Greek and Cyrillic, and
// their common punctuation.
bool Kerned(char32_t c) {
    return (c >= 0x20 && c <= 0x7E) || (c >= 0xA0 && c <= 0x17F) || (c >= 0x0370 && c <= 0x04FF) ||
           (c >= 0x2013 && c <= 0x2014) || (c >= 0x2018 && c <= 0x201E) || c == 0x2026;
}

int Fixed(qreal pixels) { return qRound(pixels * kFixed); }

QString Text(std::initializer_list<char32_t> characters) {
    QString text;
    for (const char32_t c : characters) text += QChar(static_cast<char16_t>(c));
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.h\n", argv[0]);
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QFont font = vantrel::ui::MsSansSerifFont(kGridFontPixelSize);
    const QFontMetricsF metrics(font);

    std::vector<std::pair<char32_t, int>> advances;
    for (const auto& [first, last] : kMeasured)
        for (char32_t c = first; c <= last; ++c) advances.emplace_back(c, Fixed(metrics.horizontalAdvance(Text({c}))));
    std::vector<std::pair<char32_t, int>> kerned;
    for (const auto& [c, advance] : advances)
        if (Kerned(c)) kerned.emplace_back(c, advance);
    std::vector<std::pair<std::uint32_t, int>> kerning;
    for (const auto& [a, advanceA] : kerned)
        for (const auto& [b, advanceB] : kerned) {
            const int adjust = Fixed(metrics.horizontalAdvance(Text({a, b}))) - advanceA - advanceB;
            if (adjust != 0) kerning.emplace_back((static_cast<std::uint32_t>(a) << 16) | b, adjust);
        }

    std::ofstream out(argv[1], std::ios::trunc);
    out << "// Generated at build time by vantrel_measure_grid_font from the window's grid\n"
           "// font: do not edit. Widths in 1/64 pixels.\n"
           "#pragma once\n#include <cstdint>\n\nnamespace publisher::grid_font {\n\n";
    out << "inline constexpr const char* kFamily = \"" << font.family().toStdString() << "\";\n";
    out << "inline constexpr int kPixelSize = " << font.pixelSize() << ";\n";
    out << "// The text of a name cell and of a result cell: the column less the inset.\n";
    out << "inline constexpr std::int64_t kNameTextWidth = "
        << (vantrel::ui::ChartGrid::kNameColumnWidth - kTextInset) * kFixed << ";\n";
    out << "inline constexpr std::int64_t kResultTextWidth = "
        << (vantrel::ui::ChartGrid::kResultColumnWidth - kTextInset) * kFixed << ";\n";
    out << "// A character not measured: one em.\n";
    out << "inline constexpr std::int64_t kUnmeasuredAdvance = " << font.pixelSize() * kFixed << ";\n\n";
    out << "struct Advance {\n    char32_t c;\n    std::int32_t width;\n};\n";
    out << "inline constexpr Advance kAdvances[] = {\n";
    for (const auto& [c, advance] : advances) out << "    {" << static_cast<unsigned>(c) << "u, " << advance << "},\n";
    out << "};\n\n// Pairs of neighbours (first << 16 | second) whose advance is not the sum of theirs.\n";
    out << "struct Kerning {\n    std::uint32_t pair;\n    std::int32_t adjust;\n};\n";
    out << "inline constexpr Kerning kKerning[] = {\n";
    for (const auto& [pair, adjust] : kerning) out << "    {" << pair << "u, " << adjust << "},\n";
    out << "};\n\n}  // namespace publisher::grid_font\n";
    out.flush();
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
