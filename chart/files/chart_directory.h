#pragma once
// Which folder holds the chart, decided once at start for the readers and the
// update alike: the executable's folder when the program may write there,
// otherwise the user's data folder (made, and given the installed sample).
#include <string>

#include "chart/window_ports.h"

namespace chart {

// What the choice depends on, given explicitly so tests can set it.
struct ChartDirectoryPlaces {
    std::string executableDirectory;  // empty when it could not be found
    std::string dataHome;  // $XDG_DATA_HOME; ignored unless absolute
    std::string home;      // the user's home folder
};

// The running program's places: /proc/self/exe, XDG_DATA_HOME, and HOME (or
// the password database's home when HOME is not set).
ChartDirectoryPlaces RunningProgramPlaces();

// The user's data folder for the program; empty when no home is known.
std::string UserChartDirectory(const ChartDirectoryPlaces& places);

// Returns the chart's folder: the executable's folder whenever the program
// may write there (a build folder, a per-user or portable install); otherwise
// (a system install) the user's folder for the program, $XDG_DATA_HOME/vantrel
// or ~/.local/share/vantrel, created when missing and given a copy of each
// chart file it lacks from the executable's folder. When neither the executable's folder nor the
// user's folder can be written (nor the latter created), says so once through
// messages and returns the executable's folder, whose chart is still shown.
// When the executable's folder is not known, says so and returns the empty
// string: there is no chart folder, and no path made from it names a file.
std::string ChooseChartDirectory(const ChartDirectoryPlaces& places, MessagePort& messages);

}  // namespace chart
