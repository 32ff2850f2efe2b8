// The Compare window at the caps, offscreen over a main window that loaded the
// chart: opening it, one sort, one must-have change, and its memory, beside the aims.
//   bench_compare_window [ROUNDS]      (default 9)
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QSettings>
#include <QStandardItem>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "chart/tables/chart_tables.h"
#include "ui/Unit1.h"
#include "ui/compare/compare_window.h"
#include "ui/compare/must_have_model.h"

namespace {

// Medians of the rounds beside the aims; prints figures, never fails on them.
constexpr double kAimMs = 50;
constexpr double kAimMB = 50;
constexpr std::size_t kNameBytes = 4 * 1024;

std::string LongText(const std::string& start, std::size_t bytes) {
    std::string text = start;
    while (text.size() < bytes) text += " K\xC3\xBC" "rzel \xC3\x89t\xC3\xA9";
    return text;
}

void WriteCapsChart(const std::filesystem::path& dir) {
    std::ofstream(dir / "version", std::ios::binary) << "10\r\n10\r\n";
    std::ofstream data(dir / "data", std::ios::binary);
    for (int r = 1; r <= chart::kMaxPrograms; ++r) {
        data << "http://www.program" << r << ".example/\r\n" << LongText("Program " + std::to_string(r), kNameBytes) << "\r\n";
        for (int t = 1; t <= chart::kTestCount; ++t) {
            for (int m = 1; m <= chart::kMaxSubCriteria; ++m) data << "01-"[(r * 7 + t * 3 + m) % 3];
            data << (t < chart::kTestCount ? " " : "\r\n");
        }
        for (int col = 1; col <= 7; ++col) data << (r * 37 + col * 11) % 60 << (col < 7 ? " " : "\r\n\r\n");
    }
    std::ofstream policy(dir / "policy", std::ios::binary);
    for (int t = 1; t <= chart::kTestCount; ++t) {
        policy << "Test " << t << "\r\n";
        for (int m = 1; m <= chart::kMaxSubCriteria; ++m) policy << LongText("Sub-criterion " + std::to_string(m), 1024) << "\r\n";
        policy << "\r\n";
    }
}

// The resident set in MB (10^6 bytes), as the aim is given.
double RssMB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) * 1024.0 / 1e6;
    return 0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Runs the step, then paints the window at once: the time a reader waits.
template <typename Step>
double TimedMs(QWidget& window, Step step) {
    QElapsedTimer timer;
    timer.start();
    step();
    QApplication::processEvents();
    window.repaint();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void Print(const char* what, double cold, double median, int rounds) {
    std::printf("%-34s first %6.2f ms, median of %d %6.2f ms   aim: <= %.0f ms\n", what, cold, rounds, median, kAimMs);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    QApplication app(argc, argv);
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("vantrel-bench-compare-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    WriteCapsChart(dir);
    // The choices the window keeps go to a settings file of its own.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString((dir / "settings").string()));

    int status = 0;
    {
        vantrel::ui::TForm1 form(dir.string());
        form.show();
        if (!QTest::qWaitForWindowExposed(&form) || form.Chart().Shown().Programs() != chart::kMaxPrograms) {
            std::fprintf(stderr, "bench_compare_window: the caps chart did not load\n");
            status = 1;
        } else {
            QApplication::processEvents();
            const double before = RssMB();
            std::vector<double> open, sort, filter;
            double windowMB = 0;
            for (int round = 0; round < rounds; ++round) {
                std::unique_ptr<vantrel::ui::CompareWindow> window;
                open.push_back(TimedMs(form, [&] {
                    window = std::make_unique<vantrel::ui::CompareWindow>(form, [] { return QRect(0, 54, 762, 281); });
                    window->ShowChart(form.Chart().Shown());
                    window->Open();
                }));
                if (round == 0) windowMB = RssMB() - before;
                // One sort: the Total, then each column in turn.
                QComboBox& sortBy = window->SortBy();
                sort.push_back(TimedMs(*window, [&] { sortBy.setCurrentIndex(1 + (round + 7) % chart::kCompareColumns); }));
                // One must-have checked: the last sub-criterion of Security.
                // (Toggled: each new window starts from the choices the one before kept.)
                QStandardItem& item = *window->MustHaveItems().Item(5, chart::kMaxSubCriteria);
                filter.push_back(TimedMs(*window, [&] {
                    item.setCheckState(item.checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
                }));
            }
            std::printf("Compare window at the caps: %d programs, %d tests of %d sub-criteria, names of %zu bytes\n",
                        chart::kMaxPrograms, chart::kTestCount, chart::kMaxSubCriteria, kNameBytes);
            Print("compare window, open", open[0], Median(open), rounds);
            Print("compare window, one sort", sort[0], Median(sort), rounds);
            Print("compare window, one must-have", filter[0], Median(filter), rounds);
            std::printf("%-34s %6.1f MB beyond the main window's (VmRSS)   aim: <= %.0f MB\n", "compare window, memory",
                        windowMB, kAimMB);
        }
    }
    std::filesystem::remove_all(dir);
    return status;
}
