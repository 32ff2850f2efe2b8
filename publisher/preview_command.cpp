#include "publisher/preview_command.h"

#include <QApplication>
#include <QPixmap>
#include <ostream>

#include "publisher/offscreen_window.h"
#include "ui/grid/chart_grid.h"

namespace publisher {

int RunPreview(const std::string& folder, const std::string& output, std::optional<Cell> cell, std::ostream& err) {
    OffscreenWindow window{PublisherFolder(folder)};
    for (const std::string& line : window.LoadMessages()) err << line << '\n';
    vantrel::ui::TForm1& form = window.Form();
    form.show();
    form.activateWindow();
    if (cell) {
        // The grid focused, as after a click: the current cell gets its frame.
        form.StringGrid1().setFocus();
        for (const std::string& line : window.Select(*cell)) err << line << '\n';
    }
    QApplication::processEvents();
    if (!form.grab().save(QString::fromStdString(output), "PNG")) {
        err << "vantrel-chart: cannot write " << output << '\n';
        return 2;
    }
    return 0;
}

}  // namespace publisher
