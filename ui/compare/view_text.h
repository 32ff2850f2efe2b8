#pragma once
// Chart text (UTF-8, already cut as the grid cuts it) as the compare
// window's item views lay it out: no cell, heading or tree row is wide enough
// to show more than a few hundred characters, and laying out the thousands
// a name may have costs the window its speed on every paint. The views are
// given the start of it (with "…"); screen readers and tooltips the whole.
#include <QString>
#include <string_view>

namespace vantrel::ui {

inline constexpr qsizetype kViewTextLimit = 300;

QString ViewText(std::string_view shown);

}  // namespace vantrel::ui
