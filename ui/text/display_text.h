#pragma once
// What of the chart's text reaches a widget: at most kDisplayTextLimit
// characters of any one line, the rest shown as "…", always as plain text.
#include <QString>
#include <string_view>

#include "chart/text/display_limit.h"

namespace vantrel::ui {

// The chart core's rule (chart/text/display_limit.h): the tables keep every byte.
inline constexpr qsizetype kDisplayTextLimit = static_cast<qsizetype>(chart::kDisplayTextLimit);

// Lines separated by LF or CR LF, each decoded on its own (UTF-8 where the
// line is valid, Windows-1252 otherwise), as each grid cell is; each line cut
// to the limit; the bidirectional embedding, override and isolate controls
// left out, so a text cannot reorder what follows it. Lines come back
// separated by LF.
// `ending` is shown as if it were the bytes' last ones (without copying them).
QString DisplayLines(std::string_view bytes, std::string_view ending = {});

// One grid cell: as DisplayLines, on one line (line and paragraph separators,
// LF and NEL shown as spaces).
QString DisplayCell(std::string_view bytes);

}  // namespace vantrel::ui
