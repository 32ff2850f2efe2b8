#pragma once
// The one place the program keeps anything between runs: the compare window's
// sort, shortlist and must-haves, in the user's settings (QSettings).
#include "chart/compare/compare_choices.h"

namespace vantrel::ui {

// A setting that cannot be read as written is left out, never an error.
chart::CompareChoices LoadCompareChoices();
void SaveCompareChoices(const chart::CompareChoices& choices);

}  // namespace vantrel::ui
