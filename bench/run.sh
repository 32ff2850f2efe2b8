#!/usr/bin/env bash
# Every benchmark of the project behind one command: builds what they need
# (optimised, Release) and runs them, then prints one short table of figures
# and ratios. Benchmarks only print: a piece that cannot run shows
# "not measured" and the command still ends successfully.
#
#   bash bench/run.sh [BUILD_DIR]        (default: build-bench)
#
# Needs the packages of scripts/setup.sh. The start-up figures need the
# desktop program (Qt), Xvfb and dbus-daemon; the update figures need
# python3 and curl.
set -uo pipefail
export LC_ALL=C
cd "$(dirname "$0")/.."

build=${1:-build-bench}
log=$(mktemp -d)
trap 'rm -rf "$log"' EXIT

echo "== building the benchmarks (Release) in $build"
if ! cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVANTREL_BUILD_TESTS=OFF \
        -DVANTREL_BUILD_BENCH=ON >"$log/configure" 2>&1; then
    cat "$log/configure" >&2
    echo "run.sh: the benchmarks could not be configured" >&2
    exit 1
fi
if ! cmake --build "$build" >"$log/build" 2>&1; then
    tail -n 40 "$log/build" >&2
    echo "run.sh: the benchmarks could not be built" >&2
    exit 1
fi

# run NAME COMMAND...: runs one benchmark, shows its output as it goes and
# keeps it in $log/NAME; a failure is noted, never fatal.
run() {
    local name=$1; shift
    echo "== $name: $*"
    if "$@" 2>&1 | tee "$log/$name"; [[ ${PIPESTATUS[0]} -eq 0 ]]; then
        return 0
    fi
    echo "run.sh: $name did not complete; its figures are not measured" >&2
    : >"$log/$name.failed"
}

if [[ -x $build/bench/chart/bench_chart ]]; then
    run chart "$build/bench/chart/bench_chart" --benchmark_out="$log/chart.json" \
        --benchmark_out_format=json
fi
if [[ -x $build/bench/publisher/bench_check ]]; then
    run check "$build/bench/publisher/bench_check"
fi
if [[ -x $build/publisher/vantrel-chart ]]; then
    run check_process python3 bench/publisher/check_process.py "$build/publisher/vantrel-chart" 30
fi
if [[ -x $build/bench/update/bench_update ]]; then
    run update "$build/bench/update/bench_update"
fi
if [[ -x $build/app/vantrel && -x $build/bench/ui/bench_startup_timer && -f bench/ui/startup.sh ]]; then
    run startup bash bench/ui/startup.sh "$build" 30
fi
# The window's event-loop hold-up during a slow update, when that benchmark exists.
holdup=$(find "$build/bench/ui" -maxdepth 1 -type f -executable \
    \( -name 'bench_*hold*' -o -name 'bench_*event_loop*' -o -name 'bench_*loop*' \) 2>/dev/null | head -n 1)
if [[ -n $holdup ]]; then
    QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} run holdup "$holdup"
fi
if [[ -x $build/bench/ui/bench_hostile_chart ]]; then
    run hostile "$build/bench/ui/bench_hostile_chart"
fi
if [[ -x $build/bench/ui/bench_compare_window ]]; then
    QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} run compare_window "$build/bench/ui/bench_compare_window"
fi
if [[ -x $build/bench/ui/bench_what_changed ]]; then
    run what_changed "$build/bench/ui/bench_what_changed"
fi

echo
echo "== Vantrel benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC')"
echo "machine: $(nproc) cores, $(awk -F': ' '/^model name/ {print $2; exit}' /proc/cpuinfo)," \
     "$(awk '/^MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo) memory"
python3 - "$log" <<'PY'
import json, os, re, sys

log = sys.argv[1]
rows = []

def text(name):
    path = os.path.join(log, name)
    if not os.path.exists(path) or os.path.exists(path + ".failed"):
        return None
    with open(path, errors="replace") as f:
        return f.read()

def row(what, figure, ratio="", aim=""):
    rows.append((what, figure, ratio, aim))

def missing(what, aim=""):
    row(what, "not measured", "", aim)

# Chart core: line reader beside memchr, chart load time, the compare model.
bench = {}
if text("chart") is not None and os.path.exists(os.path.join(log, "chart.json")):
    with open(os.path.join(log, "chart.json")) as f:
        for b in json.load(f).get("benchmarks", []):
            if "error_occurred" not in b:
                bench[b["name"]] = b
reader, scan = bench.get("BM_LineReaderLongLines"), bench.get("BM_MemchrScanLongLines")
if reader and scan and "bytes_per_second" in reader and "bytes_per_second" in scan:
    r, m = reader["bytes_per_second"] / 1e6, scan["bytes_per_second"] / 1e6
    row("line reader, 10 MB lines", f"{r:.0f} MB/s vs memchr {m:.0f} MB/s", f"{r / m:.2f}", ">= 0.50")
else:
    missing("line reader vs memchr", ">= 0.50")
load = bench.get("BM_LoadChart")
if load:
    unit = load.get("time_unit", "us").replace("us", "\u00b5s")
    peak = load.get("peak_rss_MiB")
    extra = f", process peak RSS {peak:.1f} MiB" if peak else ""
    row("chart load, 50 programs", f"{load['real_time']:.0f} {unit}{extra}")
else:
    missing("chart load")

# The compare window's model at the caps: medians of nine runs (wall and CPU
# time: the machine may be shared), the model's own heap beside its aim.
def compare_row(prefix, what, aim):
    found = [b for n, b in bench.items() if n.startswith(prefix) and b.get("aggregate_name") == "median"]
    if not found:
        missing(what, aim)
        return
    b = found[0]
    scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0}.get(b.get("time_unit", "us"), 1e-3)
    memory = f", {b['model_MiB']:.1f} MiB" if "model_MiB" in b else ""
    row(what, f"{b['real_time'] * scale:.2f} ms (CPU {b['cpu_time'] * scale:.2f} ms){memory}", "", aim)
compare_row("BM_CompareModelBuild/long_names/", "compare model, built, names of 4 KiB", "<= 5 ms, <= 5 MiB")
compare_row("BM_CompareModelBuild/names_at_the_file_cap/", "compare model, built, names at the file's cap", "<= 50 ms, <= 5 MiB")
compare_row("BM_CompareSort/", "compare model, one sort", "<= 5 ms")
compare_row("BM_CompareFilter/", "compare model, one must-have", "<= 5 ms")

# The Compare window itself at the caps, over the main window: medians of its rounds.
out = text("compare_window") or ""
for what in ("open", "one sort", "one must-have"):
    m = re.search(r"^compare window, " + what + r"\s+first\s+([\d.]+) ms, median of \d+\s+([\d.]+) ms", out, re.M)
    if m:
        row(f"compare window, {what}", f"{float(m.group(2)):.1f} ms (first {float(m.group(1)):.1f} ms)", "", "<= 50 ms")
    else:
        missing(f"compare window, {what}", "<= 50 ms")
m = re.search(r"^compare window, memory\s+([\d.]+) MB", out, re.M)
if m:
    row("compare window, memory beyond the main window's", f"{float(m.group(1)):.1f} MB", "", "<= 50 MB")
else:
    missing("compare window, memory", "<= 50 MB")

# vantrel-chart check beside the viewer's own load of the same chart.
checks = re.findall(r"^(.*?), \d+ interleaved rounds\n\s+viewer's load \(ReadAll\)\s*:\s*([\d.]+) us median\n"
                    r"\s+check\s*:\s*([\d.]+) us median\n\s+ratio check/load \(median of round ratios\): ([\d.]+)",
                    text("check") or "", re.M)
for what, load_us, check_us, ratio in checks:
    row(f"publisher check, {what}", f"{float(check_us):.0f} \u00b5s vs load {float(load_us):.0f} \u00b5s", ratio, "<= 1.20")
if not checks:
    missing("publisher check vs the viewer's load", "<= 1.20")

# vantrel-chart check as a whole process beside wc -l, and on millions of faults.
out = text("check_process") or ""
m = re.search(r"check\s*:\s*([\d.]+) ms median, peak ([\d.]+) MiB\n\s+wc -l\s*:\s*([\d.]+) ms median, peak ([\d.]+) MiB\n"
              r"\s+ratio check/wc \(median of pair ratios\): ([\d.]+)", out)
if m:
    row("check, whole process, largest chart", f"{float(m.group(1)):.2f} ms, {m.group(2)} MiB vs wc -l "
        f"{float(m.group(3)):.2f} ms", m.group(5), "<= 2")
else:
    missing("check, whole process, vs wc -l", "<= 2")
m = re.search(r"invalid lines\s*:\s*([\d.]+) ms median, peak ([\d.]+) MiB", out)
if m:
    row("check, 16 MiB of invalid lines", f"{float(m.group(1)):.0f} ms, peak {m.group(2)} MiB", "",
        "<= 1000 ms, <= 64 MiB")
else:
    missing("check, 16 MiB of invalid lines", "<= 1000 ms, <= 64 MiB")

# Start-up: the program beside the bare window with menu and text (the aims)
# and the bare window (for reading the gap); medians of per-round ratios.
out = text("startup") or ""
medians = {m.group(1): [float(v) for v in m.group(2, 3, 4, 5)] for m in re.finditer(
    r"^(\S+)\s+([\d.]+) ms\s+([\d.]+) ms\s+([\d.]+) MiB\s+([\d.]+) MiB", out, re.M)}
ratios = {m.group(1): [float(v) for v in m.group(2, 3, 4, 5)] for m in re.finditer(
    r"^ratio vantrel/(\S+) .*map ([\d.]+)\s+first frame ([\d.]+)\s+VmRSS ([\d.]+)\s+private dirty ([\d.]+)", out, re.M)}
if "vantrel" in medians and "bare+text" in medians and "bare+text" in ratios:
    p, t, r = medians["vantrel"], medians["bare+text"], ratios["bare+text"]
    row("start-up, exec to map", f"{p[0]:.1f} ms vs bare+text {t[0]:.1f} ms", f"{r[0]:.2f}", "<= 1.10")
    row("start-up, exec to first frame", f"{p[1]:.1f} ms vs bare+text {t[1]:.1f} ms", f"{r[1]:.2f}", "<= 1.10")
    row("memory, VmRSS", f"{p[2]:.1f} MiB vs bare+text {t[2]:.1f} MiB", f"{r[2]:.2f}", "<= 1.10")
    row("memory, private dirty", f"{p[3]:.1f} MiB vs bare+text {t[3]:.1f} MiB", f"{r[3]:.2f}", "<= 1.10")
    if "bare" in medians and "bare" in ratios:
        b, rb = medians["bare"], ratios["bare"]
        row("  beside the bare window", f"map {b[0]:.1f}, frame {b[1]:.1f} ms, {b[2]:.1f} MiB",
            f"{rb[0]:.2f}, {rb[1]:.2f}, {rb[2]:.2f}")
else:
    for what in ("start-up, exec to map", "start-up, exec to first frame", "memory, VmRSS", "memory, private dirty"):
        missing(what, "<= 1.10")

# Update, the whole program path (cold) against two floors: the plain curl
# command, and curl with each file flushed and renamed and the folder flushed
# (the safe peer).
out = text("update") or ""
w = re.search(r"update, whole program path \(cold\)\s*:\s*([\d.]+) ms", out)
for what, label, ratio, aim in (("curl", r"curl command", "curl", "<= 1.20"),
                                ("safe curl", r"curl, flushed and renamed \(safe\)", "safe", "<= 1.10")):
    c = re.search(label + r"\s*:\s*([\d.]+) ms", out)
    r = re.search(r"ratio update/" + ratio + r" \(median of round ratios\): ([\d.]+)", out)
    if w and c and r:
        row(f"update, cold, 50 programs, vs {what}",
            f"{float(w.group(1)):.1f} ms vs {what} {float(c.group(1)):.1f} ms", r.group(1), aim)
    else:
        missing(f"update vs {what}", aim)

# Event-loop hold-up during an update: the first (cold) one, then each chart.
out = text("holdup") or ""
cold = re.search(r"first update after start \(cold, ([^)]*)\): ([\d.]+) ms", out)
charts = re.findall(r"largest gap, ([^,]*), whole run: median ([\d.]+) ms, worst ([\d.]+) ms", out)
idle = re.search(r"idle loop.*?largest gap ([\d.]+) ms", out)
if cold:
    row("event loop held, first update", f"{float(cold.group(2)):.1f} ms ({cold.group(1)})", "", "<= 16 ms")
for name, median, worst in charts:
    row(f"event loop held, {name}", f"worst {float(worst):.1f} ms, median {float(median):.1f} ms", "", "<= 16 ms")
if idle and (cold or charts):
    row("  idle loop, same timer", f"{float(idle.group(1)):.1f} ms")
if not cold and not charts:
    missing("event loop held, update", "<= 16 ms")

# The window with hostile charts (each file within the size cap).
out = text("hostile")
shapes = re.findall(r"^(.*?)\s+(\d+ ms|-)\s+(\d+ ms|-)\s+(\d+ ms|-)\s+([\d.]+) MiB", out or "", re.M)
for name, window, details, box, peak in shapes:
    row(f"hostile chart: {name}", f"window {window}, details {details}, box {box}, peak {peak} MiB",
        "", "<= 500 ms, < 200 MiB")
if not shapes:
    missing("hostile charts", "<= 500 ms, < 200 MiB")

# What changed at the size caps: each figure printed beside its aim.
out = text("what_changed")
figures = re.findall(r"^(.{52}) +(\S.*?)  (?:meets|MISSES) the aim$", out or "", re.M)
for what, figure in figures:
    peak = "peak" in what
    row(f"what changed at the caps: {what.strip()}", figure, "", "< 200 MiB" if peak else "<= 100 ms")
if not figures:
    missing("what changed at the caps", "<= 100 ms, < 200 MiB")

widths = [max(len(r[i]) for r in rows + [("what", "figures", "ratio", "aim")]) for i in range(4)]
line = lambda r: "| " + " | ".join(c.ljust(widths[i]) for i, c in enumerate(r)) + " |"
print(line(("what", "figures", "ratio", "aim")))
print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
for r in rows:
    print(line(r))
PY
exit 0
