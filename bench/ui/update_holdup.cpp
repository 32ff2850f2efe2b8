// How long the window's event loop is held up while an update runs against a
// slow data server (the aim: never more than 16 ms, one frame); prints figures.
//   bench_update_holdup [ROUNDS]      (default 5)
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <stdlib.h>

#include "support/scripted_server.h"
#include "support/temp_dir.h"
#include "ui/Unit1.h"
#include "ui/update_bridge.h"
#include "update/update_thread.h"

namespace {

using namespace std::chrono_literals;

constexpr int kTickMs = 5;
constexpr auto kTrickle = 2000ms;  // the data file's body arrives over this long
constexpr int kChunks = 40;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Message boxes would wait for a person; the benchmark only counts them.
class CountingMessages : public chart::MessagePort {
public:
    void ShowMessage(const std::string&) override { ++shown; }
    int shown = 0;
};
class NoDocuments : public chart::DocumentPort {
public:
    void OpenDocument(const std::string&) override {}
};

// Ticks every kTickMs and keeps the largest gap, split at the end of the
// downloads.
struct TickRecorder {
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 maxDownloading = 0;
    qint64 maxWhole = 0;
    int ticks = 0;
    bool downloading = true;

    void Start() {
        clock.start();
        last = 0;
    }
    void Tick() {
        const qint64 now = clock.nsecsElapsed();
        const qint64 gap = now - last;
        last = now;
        ++ticks;
        maxWhole = std::max(maxWhole, gap);
        if (downloading)
            maxDownloading = std::max(maxDownloading, gap);
    }
};

double Ms(qint64 ns) { return static_cast<double>(ns) / 1e6; }

void ServeSlowly(support::ScriptedServer& server, const std::string& data,
                 const std::string& policy, const std::string& version) {
    support::Script slow{support::Send("HTTP/1.1 200 OK\r\nContent-Length: " +
                                               std::to_string(data.size()) + "\r\n\r\n")};
    const std::size_t chunk = (data.size() + kChunks - 1) / kChunks;
    for (std::size_t at = 0; at < data.size(); at += chunk) {
        slow.push_back(support::Pause(kTrickle / kChunks));
        slow.push_back(support::Send(data.substr(at, chunk)));
    }
    server.On("/data.dat", slow);
    server.On("/policy.dat", {support::Send(support::Ok(policy))});
    server.On("/version.dat", {support::Send(support::Ok(version))});
}

struct Round {
    double downloadingMs, wholeMs, runMs;
    int ticks;
    bool ok;
};

// Form1 on the offscreen platform; a 5 ms timer ticks throughout and the largest
// gap between two ticks is kept, during the downloads and over the whole run
// (the reload included). The process's first round is the cold one, which
// loads the HTTP module and libcurl.
Round OneRound(const std::string& chartDir, const std::string& base) {
    CountingMessages messages;
    NoDocuments documents;
    vantrel::ui::TForm1 form(chartDir, vantrel::ui::FormPorts{&messages, &documents});
    form.show();
    update::UpdateSettings settings;
    settings.baseUrl = base;
    settings.chartDirectory = chartDir;
    update::UpdateThread updates(settings);
    vantrel::ui::UpdateBridge bridge(form, updates);

    TickRecorder ticks;
    auto* bar = form.findChild<QProgressBar*>("ProgressBar1");
    bool sawFull = false;
    QObject::connect(bar, &QProgressBar::valueChanged, [&](int value) {
        if (value == 100)
            sawFull = true;
        else if (value == 0 && sawFull)
            ticks.downloading = false;  // the last setting before the reload
    });
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(kTickMs);
    QObject::connect(&timer, &QTimer::timeout, [&] { ticks.Tick(); });

    auto* button = form.findChild<QAbstractButton*>("SpeedButton1");
    QApplication::processEvents();
    timer.start();
    ticks.Start();
    button->click();
    QElapsedTimer limit;
    limit.start();
    while (!button->isEnabled() && limit.elapsed() < 30000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    timer.stop();
    return {Ms(ticks.maxDownloading), Ms(ticks.maxWhole), Ms(ticks.clock.nsecsElapsed()),
            ticks.ticks, button->isEnabled() && messages.shown == 0};
}

// The same loop with nothing happening, for as long as one run: the machine's
// own jitter.
double IdleMaxGap(std::chrono::milliseconds length) {
    TickRecorder ticks;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(kTickMs);
    QObject::connect(&timer, &QTimer::timeout, [&] { ticks.Tick(); });
    timer.start();
    ticks.Start();
    while (ticks.clock.elapsed() < length.count())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return Ms(ticks.maxWhole);
}

}  // namespace

// One chart the rounds serve and reload.
struct ChartCase {
    const char* name;
    std::filesystem::path dir;
};

struct Summary {
    std::vector<double> downloading, whole;
};

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    const ChartCase charts[] = {{"50-program chart", VANTREL_BENCH_CHART_DIR},
                                {"sample chart", VANTREL_SAMPLE_CHART_DIR}};
    const support::TempDir scratch("vantrel-holdup");
    const std::filesystem::path dir = scratch.Dir();
    support::ScriptedServer server;

    std::printf("update hold-up: the data file trickled over %lld ms, %d ms timer; the first "
                "round is the first update after start (cold: HTTP module not yet loaded)\n",
                static_cast<long long>(kTrickle.count()), kTickMs);
    std::printf("%-18s %-6s %22s %22s %10s %7s\n", "chart", "round", "max gap downloading",
                "max gap whole run", "run", "ticks");
    double cold = 0;
    std::vector<Summary> summaries(std::size(charts));
    for (std::size_t c = 0; c < std::size(charts); ++c) {
        const ChartCase& chart = charts[c];
        ServeSlowly(server, ReadFile(chart.dir / "data"), ReadFile(chart.dir / "policy"),
                    ReadFile(chart.dir / "version"));
        for (int r = 1; r <= rounds; ++r) {
            for (const char* name : {"data", "policy", "version"})
                std::filesystem::copy_file(chart.dir / name, dir / name,
                                           std::filesystem::copy_options::overwrite_existing);
            const Round round = OneRound(dir.string(), server.Base());
            const bool first = c == 0 && r == 1;
            std::printf("%-18s %-6s %19.1f ms %19.1f ms %7.0f ms %7d%s\n", chart.name,
                        first ? "cold" : std::to_string(r).c_str(), round.downloadingMs,
                        round.wholeMs, round.runMs, round.ticks,
                        round.ok ? "" : "  (the update did not end normally)");
            if (first) {
                cold = round.wholeMs;
                continue;
            }
            summaries[c].downloading.push_back(round.downloadingMs);
            summaries[c].whole.push_back(round.wholeMs);
        }
    }
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v.empty() ? 0.0 : v[v.size() / 2];
    };
    const auto worst = [](const std::vector<double>& v) {
        return v.empty() ? 0.0 : *std::max_element(v.begin(), v.end());
    };
    std::printf("largest gap, first update after start (cold, %s): %.1f ms (aim: at most 16 ms)\n",
                charts[0].name, cold);
    for (std::size_t c = 0; c < std::size(charts); ++c) {
        std::printf("largest gap, %s, whole run: median %.1f ms, worst %.1f ms; while downloading: "
                    "worst %.1f ms (aim: at most 16 ms)\n",
                    charts[c].name, median(summaries[c].whole), worst(summaries[c].whole),
                    worst(summaries[c].downloading));
    }
    std::printf("idle loop for comparison: largest gap %.1f ms\n", IdleMaxGap(kTrickle));
    return 0;
}
