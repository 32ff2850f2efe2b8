// Times the start of X programs from the outside, with no shell in the timed
// path: to the window's map and its first painted frame, and its memory then.
// Usage: bench_startup_timer ROUNDS NAME PROGRAM [ARGS...] [-- NAME PROGRAM [ARGS...]]...
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr int kDeadlineMs = 30000;
constexpr int kMemoryDelayMs = 500;

double NowMs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

struct Program {
    std::string name;
    std::vector<std::string> argv;
};

struct Sample {
    double mapMs = 0, frameMs = 0, rssMiB = 0, privateMiB = 0;
};

// A window that went away before its damage object did is no error here.
int IgnoreXErrors(Display*, XErrorEvent*) { return 0; }

// Rss (the VmRSS figure) and Private_Dirty, the pages the program itself wrote.
// Private_Clean is left out: a library's clean pages count as private only
// while no other process maps them, so on a shared machine it swings.
std::optional<Sample> ReadMemory(pid_t pid, Sample s) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/smaps_rollup");
    std::string line;
    double rss = -1, priv = 0;
    while (std::getline(in, line)) {  // "Rss:    38816 kB"; the first line names the range
        const auto colon = line.find(':');
        if (colon == std::string::npos || line.find(' ') < colon) continue;
        const std::string key = line.substr(0, colon);
        const double kib = std::atof(line.c_str() + colon + 1);
        if (key == "Rss") rss = kib;
        if (key == "Private_Dirty") priv += kib;
    }
    if (rss < 0) return std::nullopt;
    s.rssMiB = rss / 1024;
    s.privateMiB = priv / 1024;
    return s;
}

class Timer {
public:
    explicit Timer(Display* display) : display_(display), root_(DefaultRootWindow(display)) {
        int errorBase;
        damageOk_ = XDamageQueryExtension(display_, &damageEvent_, &errorBase);
        XSetErrorHandler(IgnoreXErrors);
        XSelectInput(display_, root_, SubstructureNotifyMask);
        XSync(display_, False);
    }
    bool HasDamage() const { return damageOk_; }

    // Started with posix_spawn; timed to the MapNotify of its top-level window
    // on the root window and the first DAMAGE report on it after the map; its
    // memory read kMemoryDelayMs after that frame.
    std::optional<Sample> Run(const Program& program) {
        Drain();
        std::vector<char*> argv;
        for (const auto& a : program.argv) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        posix_spawn_file_actions_t quiet;
        posix_spawn_file_actions_init(&quiet);
        for (int fd : {0, 1, 2}) posix_spawn_file_actions_addopen(&quiet, fd, "/dev/null", O_RDWR, 0);

        const double t0 = NowMs();
        pid_t pid;
        const int error = posix_spawn(&pid, argv[0], &quiet, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&quiet);
        if (error != 0) {
            std::fprintf(stderr, "startup_timer: cannot start %s: %s\n", argv[0], std::strerror(error));
            return std::nullopt;
        }
        std::optional<Sample> sample = Watch(t0);
        if (sample) {
            const double wait = sample->frameMs + t0 + kMemoryDelayMs - NowMs();
            if (wait > 0) usleep(static_cast<useconds_t>(wait * 1000));
            sample = ReadMemory(pid, *sample);
        }
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        ForgetWindows();
        return sample;
    }

private:
    // Events up to now belong to earlier runs.
    void Drain() {
        XSync(display_, False);
        XEvent event;
        while (XPending(display_)) XNextEvent(display_, &event);
    }

    std::optional<Sample> Watch(double t0) {
        Sample s;
        Window mapped = 0;
        const int fd = ConnectionNumber(display_);
        while (NowMs() - t0 < kDeadlineMs) {
            if (!XPending(display_)) {
                pollfd p{fd, POLLIN, 0};
                poll(&p, 1, 100);
                continue;
            }
            XEvent event;
            XNextEvent(display_, &event);
            const double now = NowMs();
            if (event.type == CreateNotify && event.xcreatewindow.parent == root_ &&
                !event.xcreatewindow.override_redirect) {
                // Watched for damage from before it can be mapped.
                damages_[event.xcreatewindow.window] =
                    XDamageCreate(display_, event.xcreatewindow.window, XDamageReportNonEmpty);
                XFlush(display_);
            } else if (event.type == MapNotify && !mapped && !event.xmap.override_redirect &&
                       damages_.count(event.xmap.window)) {
                mapped = event.xmap.window;
                s.mapMs = now - t0;
            } else if (event.type == damageEvent_ + XDamageNotify) {
                const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
                XDamageSubtract(display_, damage.damage, None, None);
                if (mapped && damage.drawable == mapped) {
                    s.frameMs = now - t0;
                    return s;
                }
            }
        }
        return std::nullopt;
    }

    void ForgetWindows() {
        for (const auto& [window, damage] : damages_) XDamageDestroy(display_, damage);
        damages_.clear();
        XSync(display_, False);
    }

    Display* display_;
    Window root_;
    int damageEvent_ = 0;
    bool damageOk_ = false;
    std::map<Window, Damage> damages_;
};

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

std::vector<Program> ParsePrograms(int argc, char** argv) {
    std::vector<Program> programs;
    for (int i = 2; i < argc; ++i) {
        if (programs.empty() || std::strcmp(argv[i], "--") == 0) {
            if (std::strcmp(argv[i], "--") == 0) ++i;
            if (i + 1 >= argc) return {};
            programs.push_back({argv[i], {}});
            continue;
        }
        programs.back().argv.push_back(argv[i]);
    }
    for (const auto& p : programs)
        if (p.argv.empty()) return {};
    return programs;
}

}  // namespace

// Runs under any X server with DAMAGE (the benchmark script gives it a private
// Xvfb and session bus). Prints figures only; exits 1 when a program never
// showed its window.
int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 0;
    const std::vector<Program> programs = ParsePrograms(argc, argv);
    if (rounds < 1 || programs.size() < 2) {
        std::fprintf(stderr, "usage: %s ROUNDS NAME PROGRAM [ARGS...] -- NAME PROGRAM [ARGS...]...\n",
                     argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "startup_timer: no X display\n");
        return 2;
    }
    Timer timer(display);
    if (!timer.HasDamage()) {
        std::fprintf(stderr, "startup_timer: the X server has no DAMAGE extension\n");
        return 2;
    }

    const std::size_t n = programs.size();
    std::vector<std::vector<Sample>> samples(n);  // per program, per counted round
    bool allShown = true;
    // Interleaved, the order reversed every other round, so that a machine
    // growing busier or quieter weighs on each alike; the first program is
    // compared with each other through the median of its per-round ratios.
    for (int round = 0; round <= rounds; ++round) {  // round 0: warm-up
        std::vector<std::optional<Sample>> got(n);
        for (std::size_t k = 0; k < n; ++k) {
            const std::size_t i = round % 2 ? n - 1 - k : k;
            got[i] = timer.Run(programs[i]);
        }
        if (round == 0) continue;
        for (std::size_t i = 0; i < n; ++i) {
            if (!got[i]) {
                std::fprintf(stderr, "startup_timer: %s showed no window in round %d\n",
                             programs[i].name.c_str(), round);
                allShown = false;
            }
        }
        if (std::all_of(got.begin(), got.end(), [](const auto& s) { return s.has_value(); }))
            for (std::size_t i = 0; i < n; ++i) samples[i].push_back(*got[i]);
    }
    XCloseDisplay(display);

    const auto column = [](const std::vector<Sample>& v, double Sample::*field) {
        std::vector<double> out;
        for (const auto& s : v) out.push_back(s.*field);
        return out;
    };
    std::printf("%d rounds counted of %d, programs interleaved (order reversed every other round)\n",
                static_cast<int>(samples[0].size()), rounds);
    std::printf("%-12s %12s %18s %12s %14s\n", "medians", "map", "first frame", "VmRSS",
                "private dirty");
    for (std::size_t i = 0; i < n; ++i) {
        std::printf("%-12s %9.1f ms %15.1f ms %8.1f MiB %10.1f MiB\n", programs[i].name.c_str(),
                    Median(column(samples[i], &Sample::mapMs)),
                    Median(column(samples[i], &Sample::frameMs)),
                    Median(column(samples[i], &Sample::rssMiB)),
                    Median(column(samples[i], &Sample::privateMiB)));
    }
    for (std::size_t b = 1; b < n; ++b) {
        double Sample::*fields[] = {&Sample::mapMs, &Sample::frameMs, &Sample::rssMiB,
                                    &Sample::privateMiB};
        double medians[4];
        for (int f = 0; f < 4; ++f) {
            std::vector<double> ratios;
            for (std::size_t r = 0; r < samples[0].size(); ++r) {
                const double base = samples[b][r].*fields[f];
                if (base > 0) ratios.push_back(samples[0][r].*fields[f] / base);
            }
            medians[f] = Median(ratios);
        }
        std::printf("ratio %s/%s (median of round ratios): map %.2f  first frame %.2f  VmRSS %.2f  "
                    "private dirty %.2f\n",
                    programs[0].name.c_str(), programs[b].name.c_str(), medians[0], medians[1],
                    medians[2], medians[3]);
    }
    return allShown ? 0 : 1;
}
