#pragma once
// What of the chart's text reaches a widget. The tables keep every byte; a
// widget is given at most kDisplayTextLimit characters of any one text (a
// cell, a line of the details, a line of a message), far above any real
// chart's, so that no text a chart can hold makes the window lay out megabytes.
// Text past the limit is shown as "…". Chart text is always plain text.
#include <QString>
#include <string_view>

namespace vantrel::ui {

inline constexpr qsizetype kDisplayTextLimit = 2000;

// Lines separated by LF or CR LF, decoded as a whole (UTF-8 where the whole is
// valid, Windows-1252 otherwise); each line cut to the limit; the
// bidirectional embedding, override and isolate controls left out, so a text
// cannot reorder what follows it. Lines come back separated by LF.
// `ending` is shown as if it were the bytes' last ones (without copying them).
QString DisplayLines(std::string_view bytes, std::string_view ending = {});

// One grid cell: as DisplayLines, on one line (line and paragraph separators,
// LF and NEL shown as spaces).
QString DisplayCell(std::string_view bytes);

}  // namespace vantrel::ui
