// What changed at the size caps (two charts that differ in everything a reader
// sees: 14,850 lines), beside its aims; prints figures, never fails on them.
//   bench_what_changed [ROUNDS]      (default 3)
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QListView>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "chart/diff/reload_history.h"
#include "chart/loading/shown_after_loading.h"
#include "support/folder_snapshot.h"
#include "support/caps_chart.h"
#include "support/peak_memory.h"
#include "ui/Unit1.h"
#include "ui/changes_window.h"
#include "ui/history_worker.h"

namespace {

// The window's thread held at most this long at a time (the history worked out
// and drawn, the window opened, each key on its list), as the largest gap
// between the ticks of a 5 ms timer.
constexpr double kAimMs = 100;
// The program's window and `vantrel-chart diff` each at their peak.
constexpr double kAimMiB = 200;

using support::PeakMiB;

void WriteChart(const std::string& dir, int edition) {
    const auto files = support::ChartAtTheCaps(edition);
    const char* names[] = {"data", "policy", "version"};
    for (std::size_t i = 0; i < files.size(); ++i) std::ofstream(dir + "/" + names[i], std::ios::binary) << files[i];
}

double Ms(const QElapsedTimer& clock) { return clock.nsecsElapsed() / 1e6; }

// What a child measured; -1: not this kind.
struct Figures {
    double historyGapMs = -1, historyMs = -1, heldMiB = -1;  // What changed's share of a reload
    double reloadMs = -1, openMs = -1, keyMs = -1, keysGapMs = -1, totalKeyMs = -1;  // the program's window
    int slowestKey = -1;
    double startPeakMiB = -1, peakMiB = -1;
    double diffMs = -1, diffPeakMiB = -1;  // vantrel-chart diff
};

// The largest gap between two ticks of a 5 ms timer while it lives.
class Ticks {
public:
    Ticks() {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
        timer_.start(5);
        clock_.start();
    }
    void Tick() {
        const double now = Ms(clock_);
        largest_ = std::max(largest_, now - last_);
        last_ = now;
    }
    double Largest() {
        Tick();
        return largest_;
    }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    double last_ = 0, largest_ = 0;
};

struct Key {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};
// Through the list and back, every line copied, then the line of the first
// program's first result chosen (line 2, under its heading and its rename).
const Key kKeys[] = {
    {"Down", Qt::Key_Down, {}},     {"End", Qt::Key_End, {}},
    {"Page Up", Qt::Key_PageUp, {}}, {"Ctrl+A", Qt::Key_A, Qt::ControlModifier},
    {"Ctrl+C", Qt::Key_C, Qt::ControlModifier}, {"Home", Qt::Key_Home, {}},
    {"Down", Qt::Key_Down, {}},     {"Down", Qt::Key_Down, {}},
    {"Enter", Qt::Key_Return, {}},
};

// What the window adds to a reload, as TForm1::ReadAll does it: the chart as
// shown handed to the history worker, the list drawn when it is worked out;
// over charts loaded by the core alone. And what the history then holds.
Figures History(const std::string& before, const std::string& after) {
    const auto load = [](const std::string& dir) {
        return chart::ShownAfterLoading(support::FolderSnapshot(dir), nullptr, "www.vantrel.example");
    };
    vantrel::ui::ChangesWindow window;
    window.show();
    vantrel::ui::HistoryWorker worker;
    bool told = false;
    worker.onTold = [&](const chart::ReloadHistory::Told& what) {
        window.Draw(what);
        window.repaint();
        told = true;
    };
    QApplication::processEvents();
    const std::size_t heap = mallinfo2().uordblks;
    worker.Start(std::make_shared<const chart::ShownChart>(load(before)), 1);
    Figures figures;
    {
        const auto next = std::make_shared<const chart::ShownChart>(load(after));
        if (!QTest::qWaitFor([&] { return !worker.Working(); }, 60000)) return figures;
        Ticks ticks;
        QElapsedTimer clock;
        clock.start();
        worker.Reload(next, 2, "");  // shared, as the form shares the chart its load left
        if (!QTest::qWaitFor([&] { return told; }, 60000)) return figures;
        figures.historyMs = Ms(clock);
        figures.historyGapMs = ticks.Largest();
    }
    figures.heldMiB = static_cast<double>(mallinfo2().uordblks - heap) / (1 << 20);
    return figures;
}

// The program's window: start over one chart, reload the other as an Update
// ends, open What changed, then keys on its list.
Figures Window(const std::string& folder, const std::string& after) {
    vantrel::ui::TForm1 form(folder);
    form.show();
    QApplication::processEvents();
    Figures figures;
    figures.startPeakMiB = PeakMiB();
    for (const char* name : {"data", "policy", "version"})
        std::filesystem::copy_file(after + "/" + name, folder + "/" + name,
                                   std::filesystem::copy_options::overwrite_existing);
    if (!QTest::qWaitFor([&] { return form.WhatChangedUpToDate(); }, 60000)) return figures;
    QElapsedTimer clock;
    clock.start();
    form.ReadAll();
    figures.reloadMs = Ms(clock);
    if (!QTest::qWaitFor([&] { return form.WhatChangedUpToDate(); }, 60000)) return figures;
    const auto timed = [&](auto&& step) {
        clock.restart();
        step();
        QApplication::processEvents();
        form.WhatChanged().repaint();
        form.repaint();
        return Ms(clock);
    };
    figures.openMs = timed([&] { form.WhatChanged1Click(); });
    figures.keyMs = 0;
    auto& lines = form.WhatChanged().Lines();
    QApplication::clipboard()->clear();
    {
        Ticks ticks;
        for (std::size_t k = 0; k < std::size(kKeys); ++k) {
            const double ms = timed([&] { QTest::keyClick(&lines, kKeys[k].key, kKeys[k].modifiers); });
            if (ms > figures.keyMs) {
                figures.keyMs = ms;
                figures.slowestKey = static_cast<int>(k);
            }
        }
        // The copy is made off the thread: until it lands, the loop goes on.
        const auto copied = [] {
            const QMimeData* data = QApplication::clipboard()->mimeData();
            return data && data->hasFormat(QStringLiteral("text/plain"));
        };
        if (!QTest::qWaitFor(copied, 60000)) return figures;
        figures.keysGapMs = ticks.Largest();
    }
    // The line of the first program's rename leads to its Total: the details
    // panel then composes all six tests, as a click on that cell does.
    timed([&] { QTest::keyClick(&lines, Qt::Key_Up); });
    figures.totalKeyMs = timed([&] { QTest::keyClick(&lines, Qt::Key_Return); });
    figures.peakMiB = PeakMiB();
    return figures;
}

Figures Diff(const std::string& tool, const std::string& before, const std::string& after) {
    Figures figures;
    QElapsedTimer clock;
    clock.start();
    const pid_t child = fork();
    if (child == 0) {
        std::freopen("/dev/null", "w", stdout);
        execl(tool.c_str(), tool.c_str(), "diff", before.c_str(), after.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    figures.diffMs = Ms(clock);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 1) figures.diffPeakMiB = usage.ru_maxrss / 1024.0;
    return figures;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

const char* Meets(bool met) { return met ? "meets the aim" : "MISSES the aim"; }

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::string pattern = (std::filesystem::temp_directory_path() / "vantrel-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return 1;
    const std::string root = pattern, before = root + "/before", after = root + "/after", folder = root + "/program";
    for (const std::string& dir : {before, after, folder}) std::filesystem::create_directory(dir);
    WriteChart(before, 1);
    WriteChart(after, 2);

    // Each measurement in a child process of its own (a fresh peak), the three
    // kinds in turn, the order turned every round; times are medians, peaks the
    // largest.
    std::map<int, std::vector<Figures>> measured;  // by kind
    for (int round = 0; round < rounds; ++round) {
        for (int turn = 0; turn < 3; ++turn) {
            const int kind = (round + turn) % 3;
            for (const char* name : {"data", "policy", "version"})
                std::filesystem::copy_file(before + "/" + name, folder + "/" + name,
                                           std::filesystem::copy_options::overwrite_existing);
            int fds[2];
            if (pipe(fds) != 0) return 1;
            const pid_t child = fork();
            if (child == 0) {
                close(fds[0]);
                Figures figures;
                if (kind == 2) {
                    figures = Diff(VANTREL_CHART_TOOL, before, after);
                } else {
                    qputenv("QT_QPA_PLATFORM", "offscreen");
                    QApplication app(argc, argv);
                    figures = kind == 0 ? History(before, after) : Window(folder, after);
                }
                _exit(write(fds[1], &figures, sizeof figures) == sizeof figures ? 0 : 2);
            }
            close(fds[1]);
            Figures figures;
            const bool read_ok = read(fds[0], &figures, sizeof figures) == sizeof figures;
            close(fds[0]);
            waitpid(child, nullptr, 0);
            if (read_ok) measured[kind].push_back(figures);
        }
    }
    std::filesystem::remove_all(root);

    const auto each = [&](int kind, auto field) {
        std::vector<double> values;
        for (const Figures& f : measured[kind]) values.push_back(f.*field);
        return values;
    };
    const auto largest = [](std::vector<double> values) {
        return values.empty() ? -1 : *std::max_element(values.begin(), values.end());
    };
    std::printf("What changed at the 16 MiB caps, %d rounds (aims: at most %.0f ms at a time on the window's "
                "thread, under %.0f MiB at the peak)\n", rounds, kAimMs, kAimMiB);
    const double gap = Median(each(0, &Figures::historyGapMs));
    std::printf("%-52s %9.0f ms (done after %.0f ms), holds %.1f MiB  %s\n",
                "the history worked out, the list drawn: largest gap", gap, Median(each(0, &Figures::historyMs)),
                largest(each(0, &Figures::heldMiB)), Meets(gap >= 0 && gap <= kAimMs));
    const double open = Median(each(1, &Figures::openMs));
    std::printf("%-52s %9.0f ms  %s\n", "the window opened and painted", open, Meets(open >= 0 && open <= kAimMs));
    const double key = Median(each(1, &Figures::keyMs));
    const int slowest = measured[1].empty() ? -1 : measured[1].back().slowestKey;
    std::printf("%-52s %9.0f ms (%s)  %s\n", "the slowest key on its list", key,
                slowest < 0 ? "-" : kKeys[slowest].name, Meets(key >= 0 && key <= kAimMs));
    const double keysGap = Median(each(1, &Figures::keysGapMs));
    std::printf("%-52s %9.0f ms  %s\n", "  largest gap, keys and the copy of every line", keysGap,
                Meets(keysGap >= 0 && keysGap <= kAimMs));
    std::printf("%-52s %9.0f ms (the details panel's, as a click on the cell)\n",
                "  a line that leads to a Total cell", Median(each(1, &Figures::totalKeyMs)));
    std::printf("%-52s %9.0f ms (the load's, not What changed's)\n", "the reload as an Update ends, on the thread",
                Median(each(1, &Figures::reloadMs)));
    const double peak = largest(each(1, &Figures::peakMiB));
    std::printf("%-52s %9.1f MiB (after the first load %.1f)  %s\n", "the program's window, peak", peak,
                largest(each(1, &Figures::startPeakMiB)), Meets(peak > 0 && peak < kAimMiB));
    const double diffPeak = largest(each(2, &Figures::diffPeakMiB));
    std::printf("%-52s %9.1f MiB, %.0f ms  %s\n", "vantrel-chart diff, peak", diffPeak,
                Median(each(2, &Figures::diffMs)), Meets(diffPeak > 0 && diffPeak < kAimMiB));
    return 0;
}
