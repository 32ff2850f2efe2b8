#pragma once
// Which folder holds the chart. Decided once at start; the readers, the
// update's staging files, its lock, commit and roll-forward all use the folder
// decided here.
//
// The executable's folder whenever the program may write there (a build
// folder, a per-user or portable install). Otherwise (a system install, where
// only root may write beside the program) the user's data folder for the
// program, $XDG_DATA_HOME/vantrel or ~/.local/share/vantrel: created when
// missing and given a copy of each chart file it lacks from the executable's
// folder (the installed sample chart).
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

// Returns the chart's folder. When neither the executable's folder nor the
// user's folder can be written (nor the latter created), says so once through
// messages and returns the executable's folder, whose chart is still shown.
// When the executable's folder is not known, says so and returns the empty
// string: there is no chart folder, and no path made from it names a file.
std::string ChooseChartDirectory(const ChartDirectoryPlaces& places, MessagePort& messages);

}  // namespace chart
