#include "publisher/show_command.h"

#include <ostream>

#include "publisher/offscreen_window.h"

namespace publisher {

int RunShow(const std::string& folder, std::optional<Cell> cell, std::ostream& out, std::ostream& err) {
    OffscreenWindow window{PublisherFolder(folder)};
    for (const std::string& line : window.LoadMessages()) err << line << '\n';
    const auto lines = cell ? window.Select(*cell) : window.GridLines();
    for (const std::string& line : lines) out << line << '\n';
    return 0;
}

}  // namespace publisher
