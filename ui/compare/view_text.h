#pragma once
// Chart text (UTF-8, already cut as the grid cuts it) as the compare window's
// item views lay it out: the start of it, with "…"; screen readers and
// tooltips get the whole.
#include <QString>
#include <string_view>

namespace vantrel::ui {

// No cell, heading or tree row is wide enough to show more, and laying out the
// thousands of characters a name may have would cost every paint.
inline constexpr qsizetype kViewTextLimit = 300;

QString ViewText(std::string_view shown);

}  // namespace vantrel::ui
