// Charts a careless or hostile publisher could ship within the 16 MiB cap: how long
// the window, a cell's details and a box take to show, and the peak memory, beside the aims.
//   bench_hostile_chart [ROUNDS]      (default 3)
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <stdlib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "chart/files/chart_file_set.h"
#include "support/peak_memory.h"
#include "ui/Unit1.h"
#include "ui/grid/chart_grid.h"

namespace {

constexpr double kAimMs = 500;
constexpr double kAimMiB = 200;
// A hostile text as large as a file within the cap can hold beside the rest.
const size_t kBig = chart::kChartFileSizeCap - 64 * 1024;
const size_t kMiB = 1 << 20;

struct Chart {
    std::vector<std::string> urls = {"http://www.prog1.example/", "http://www.prog2.example/",
                                     "http://www.prog3.example/", "http://www.prog4.example/"};
    std::vector<std::string> names = {"Alpha", "Bravo", "Charlie", "Delta"};
    std::vector<std::string> details = std::vector<std::string>(4, "10 01 11 00 1x 0");
    std::vector<std::string> results = std::vector<std::string>(4, "1 2 3 4 5 6 21");
    std::vector<std::string> titles = {"OS support", "Demo version", "Interception",
                                       "Log viewing", "Security", "Network options"};
    std::string firstSubCriterion = "First";  // of test 1
    std::string policyOverride;  // the whole policy file, when set
};

// What is clicked once the window shows, and what it should bring up.
enum class Brings { Details, Box };

struct Shape {
    const char* name;
    std::function<void(Chart&)> make;
    int col, row;
    Brings brings;
    bool dataGrows = false;  // a writer appends to "data" while the window loads
};

const std::vector<Shape>& Shapes() {
    static const std::vector<Shape> shapes = {
        {"sample chart (for comparison)", [](Chart&) {}, 1, 1, Brings::Details},
        {"test title 1 MiB, its cell", [](Chart& c) { c.titles[0] = std::string(kMiB, 'T'); }, 1, 1, Brings::Details},
        {"test title 16 MiB, its cell", [](Chart& c) { c.titles[0] = std::string(kBig, 'T'); }, 1, 1, Brings::Details},
        {"title 1 MiB as a count, error box",
         [](Chart& c) { c.policyOverride = std::string(kMiB, 'T') + "\nFirst\n\n\n"; }, 2, 1, Brings::Box},
        {"title 16 MiB as a count, error box",
         [](Chart& c) { c.policyOverride = std::string(kBig, 'T') + "\nFirst\n\n\n"; }, 2, 1, Brings::Box},
        {"title 16 MiB in five count slots, Total",
         [](Chart& c) { c.policyOverride = std::string(kBig, 'T') + "\nFirst\n\n\n\n\n\n\n"; }, 7, 1, Brings::Box},
        {"address of 216 bytes, not web, box",
         [](Chart& c) { c.urls[0] = "www." + std::string(212, 'a'); }, 0, 1, Brings::Box},
        {"address 16 MiB, not web, box", [](Chart& c) { c.urls[0] = std::string(kBig, 'a'); }, 0, 1, Brings::Box},
        {"web address 16 MiB, over the argument limit",
         [](Chart& c) { c.urls[0] = "http://a.example/" + std::string(kBig, 'a'); }, 0, 1, Brings::Box},
        {"program name 16 MiB, another cell", [](Chart& c) { c.names[0] = std::string(kBig, 'N'); }, 3, 2,
         Brings::Details},
        {"results of 8 M one-letter words",
         [](Chart& c) {
             c.results[0].clear();
             for (size_t i = 0; i < kBig / 2; ++i) c.results[0] += "1 ";
         },
         1, 1, Brings::Details},
        {"details flags 16 MiB, test 6",
         [](Chart& c) {
             c.details[0].clear();
             for (size_t i = 0; i < kBig / 2; ++i) c.details[0] += "1 ";
         },
         6, 1, Brings::Details},
        {"sub-criterion name 16 MiB", [](Chart& c) { c.firstSubCriterion = std::string(kBig, 'S'); }, 1, 1,
         Brings::Details},
        {"Total, six titles of 2.6 MiB",
         [](Chart& c) {
             for (auto& title : c.titles) title = std::string(kBig / 6, 'T');
         },
         7, 1, Brings::Details},
        {"data file growing while read", [](Chart&) {}, 1, 1, Brings::Details, true},
    };
    return shapes;
}

void WriteChart(const std::string& dir, const Chart& c) {
    std::ofstream(dir + "/version", std::ios::binary) << "10\r\n10\r\n";
    std::ofstream data(dir + "/data", std::ios::binary);
    for (size_t p = 0; p < c.names.size(); ++p)
        data << c.urls[p] << "\r\n" << c.names[p] << "\r\n" << c.details[p] << "\r\n" << c.results[p] << "\r\n\r\n";
    std::ofstream policy(dir + "/policy", std::ios::binary);
    if (!c.policyOverride.empty()) {
        policy << c.policyOverride;
        return;
    }
    for (size_t t = 0; t < c.titles.size(); ++t)
        policy << c.titles[t] << "\r\n" << (t == 0 ? c.firstSubCriterion : "First") << "\r\nSecond\r\n\r\n";
}

using support::PeakMiB;

// Appends to the file until killed, as `yes >> data` would.
pid_t StartGrowing(const std::string& path) {
    const pid_t writer = fork();
    if (writer == 0) {
        std::ofstream out(path, std::ios::binary | std::ios::app);
        const std::string block(64 * 1024, 'y');
        for (;;) out << block << '\n' << std::flush;
    }
    return writer;
}

struct Figures {
    double windowMs = -1, detailsMs = -1, boxMs = -1, peakMiB = -1;
};

// In the child (a fresh peak): one measurement of one shape; written to `out`.
// Form1 runs on the offscreen platform with real message boxes, which a timer
// closes once they have been painted.
Figures Measure(const std::string& dir, const Shape& shape, int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    Figures figures;
    QElapsedTimer clock;

    // A box is timed from the click to its first paint, then closed. (A box
    // while loading would mean a broken shape; it is closed too.)
    double boxMs = -1;
    QTimer watcher;
    watcher.setInterval(1);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            box->repaint();
            if (boxMs < 0) boxMs = clock.nsecsElapsed() / 1e6;
            box->close();
        }
    });
    watcher.start();

    clock.start();
    const pid_t writer = shape.dataGrows ? StartGrowing(dir + "/data") : 0;
    // The desktop's own ports: the only address a shape lets through is over
    // the argument limit, which is refused before any opener starts.
    vantrel::ui::TForm1 form(dir);
    form.show();
    QApplication::processEvents();
    form.repaint();
    figures.windowMs = clock.nsecsElapsed() / 1e6;
    if (writer > 0) {
        kill(writer, SIGKILL);
        waitpid(writer, nullptr, 0);
    }

    boxMs = -1;
    auto& grid = form.StringGrid1();
    const QPoint where = grid.CellRect(shape.col, shape.row).center();
    clock.restart();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, where);
    QApplication::processEvents();
    form.repaint();
    const double clickMs = clock.nsecsElapsed() / 1e6;
    if (shape.brings == Brings::Box)
        figures.boxMs = boxMs;
    else
        figures.detailsMs = clickMs;
    figures.peakMiB = PeakMiB();
    return figures;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

std::string Ms(double ms) {
    if (ms < 0) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.0f ms", ms);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("aims: window, details and box each within %.0f ms; peak memory under %.0f MiB\n", kAimMs, kAimMiB);
    std::printf("%-44s %10s %10s %10s %12s\n", "chart", "window", "details", "box", "peak");
    // Each shape a few rounds: the medians of the times and the largest peak.
    for (const Shape& shape : Shapes()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantrel-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) return 1;
        const std::string dir = pattern;
        {
            Chart chart;
            shape.make(chart);
            WriteChart(dir, chart);
        }
        std::vector<double> window, details, box;
        double peak = 0;
        bool measured = true;
        for (int round = 0; round < rounds && measured; ++round) {
            int pipeFds[2];
            if (pipe(pipeFds) != 0) return 1;
            const pid_t child = fork();
            if (child == 0) {
                close(pipeFds[0]);
                const Figures f = Measure(dir, shape, argc, argv);
                if (write(pipeFds[1], &f, sizeof f) != sizeof f) _exit(2);
                _exit(0);
            }
            close(pipeFds[1]);
            Figures f;
            measured = read(pipeFds[0], &f, sizeof f) == sizeof f;
            close(pipeFds[0]);
            int status = 0;
            waitpid(child, &status, 0);
            if (!measured) break;
            window.push_back(f.windowMs);
            if (f.detailsMs >= 0) details.push_back(f.detailsMs);
            if (f.boxMs >= 0) box.push_back(f.boxMs);
            peak = std::max(peak, f.peakMiB);
        }
        std::filesystem::remove_all(dir);
        if (!measured) {
            std::printf("%-44s not measured\n", shape.name);
            continue;
        }
        const double worst = std::max({Median(window), Median(details), Median(box)});
        std::printf("%-44s %10s %10s %10s %8.1f MiB  %s\n", shape.name, Ms(Median(window)).c_str(),
                    Ms(Median(details)).c_str(), Ms(Median(box)).c_str(), peak,
                    worst <= kAimMs && peak < kAimMiB ? "meets the aims" : "MISSES the aims");
        std::fflush(stdout);
    }
    return 0;
}
