#pragma once
// Only a chart replaces a chart. Before the commit the staged files are read
// the way the chart will be read, with the chart core's own readers, in a dry
// run on scratch tables: nothing is shown and the window's grid is not
// touched. Refused: any of the three that is a web page (a captive portal's
// login page, a server's error page), a data file without one complete
// program record, a policy file without one complete test (an empty file
// included). This is no version gate: what the version file asks for is
// judged by the reload after the commit.
#include <string>
#include <string_view>

namespace update {

// True when the three staging files in directory may become the chart.
bool StagedFilesAreAChart(const std::string& directory);

// True when a file's first bytes, after any white space and a UTF-8
// byte-order mark, begin "<!DOCTYPE html" or "<html" in any letter case.
bool LooksLikeWebPage(std::string_view start);

}  // namespace update
