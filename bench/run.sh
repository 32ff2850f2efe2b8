#!/usr/bin/env bash
# Every benchmark of the project behind one command: builds what they need
# (optimised, Release) and runs them, then prints one short table of figures
# and ratios. Benchmarks only print: a piece that cannot run shows
# "not measured" and the command still ends successfully.
#
#   bash bench/run.sh [BUILD_DIR]        (default: build-bench)
#
# Needs the packages of scripts/setup.sh. The start-up figures need the
# desktop program (Qt) and Xvfb; the update figures need python3 and curl.
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
if [[ -x $build/bench/update/bench_update ]]; then
    run update "$build/bench/update/bench_update"
fi
if [[ -x $build/app/vantrel && -x $build/bench/ui/bench_bare_window && -f bench/ui/startup.sh ]]; then
    run startup bash bench/ui/startup.sh "$build"
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

# Chart core: line reader beside memchr, chart load time.
bench = {}
if text("chart") is not None and os.path.exists(os.path.join(log, "chart.json")):
    with open(os.path.join(log, "chart.json")) as f:
        for b in json.load(f).get("benchmarks", []):
            if "error_occurred" not in b:
                bench[b["name"]] = b
reader, scan = bench.get("BM_LineReaderLongLines"), bench.get("BM_MemchrScanLongLines")
if reader and scan and "bytes_per_second" in reader and "bytes_per_second" in scan:
    r, m = reader["bytes_per_second"] / 1e6, scan["bytes_per_second"] / 1e6
    row("line reader, 10 MB lines", f"{r:.0f} MB/s vs memchr {m:.0f} MB/s", f"{r / m:.2f}")
else:
    missing("line reader vs memchr")
load = bench.get("BM_LoadChart")
if load:
    unit = load.get("time_unit", "us").replace("us", "\u00b5s")
    peak = load.get("peak_rss_MiB")
    extra = f", process peak RSS {peak:.1f} MiB" if peak else ""
    row("chart load, 50 programs", f"{load['real_time']:.0f} {unit}{extra}")
else:
    missing("chart load")

# Start-up and memory against a bare Qt window.
out = text("startup")
figures = {}
for name in ("vantrel", "bare", "bare+text"):
    m = out and re.search(rf"^{re.escape(name)}\s.*start-up median\s+([\d.]+) ms\s+memory median\s+([\d.]+) MiB", out, re.M)
    if m:
        figures[name] = (float(m.group(1)), float(m.group(2)))
if "vantrel" in figures and "bare" in figures and figures["bare"][0] > 0 and figures["bare"][1] > 0:
    (pm, pk), (bm, bk) = figures["vantrel"], figures["bare"]
    row("start-up to window shown", f"{pm:.0f} ms vs bare Qt {bm:.0f} ms", f"{pm / bm:.2f}", "<= 1.20")
    row("memory, window shown", f"{pk:.1f} MiB vs bare Qt {bk:.1f} MiB", f"{pk / bk:.2f}", "<= 1.20")
    if "bare+text" in figures:
        tm, tk = figures["bare+text"]
        row("  beside bare Qt with text", f"{pm:.0f} ms vs {tm:.0f} ms, {pk:.1f} vs {tk:.1f} MiB",
            f"{pm / tm:.2f}, {pk / tk:.2f}" if tm > 0 and tk > 0 else "")
else:
    missing("start-up vs bare Qt window", "<= 1.20")
    missing("memory vs bare Qt window", "<= 1.20")

# Update against the curl command.
out = text("update")
w = out and re.search(r"update worker\s*:\s*([\d.]+) ms", out)
c = out and re.search(r"curl command\s*:\s*([\d.]+) ms", out)
if w and c and float(c.group(1)) > 0:
    wv, cv = float(w.group(1)), float(c.group(1))
    row("update, three downloads", f"{wv:.1f} ms vs curl {cv:.1f} ms", f"{wv / cv:.2f}", "<= 1.30")
else:
    missing("update vs curl", "<= 1.30")

# Event-loop hold-up during an update: its summary line when it prints one,
# otherwise the largest gap it reports.
out = text("holdup") or ""
summary = re.search(r"largest gap while downloading: median ([\d.]+) ms, worst ([\d.]+) ms", out)
idle = re.search(r"idle loop.*?largest gap ([\d.]+) ms", out)
gaps = [float(v) for line in out.splitlines()
        if re.search(r"gap", line, re.I) and not re.search(r"idle", line, re.I)
        for v in re.findall(r"([\d.]+)\s*ms", line)]
if summary:
    extra = f", idle loop {float(idle.group(1)):.1f} ms" if idle else ""
    row("event-loop hold-up, update",
        f"worst {float(summary.group(2)):.1f} ms, median {float(summary.group(1)):.1f} ms{extra}", "", "<= 50 ms")
elif gaps:
    row("event-loop hold-up, update", f"{max(gaps):.1f} ms at most", "", "<= 50 ms")
else:
    missing("event-loop hold-up, update", "<= 50 ms")

# The window with hostile charts (each file within the size cap).
out = text("hostile")
shapes = re.findall(r"^(.*?)\s+(\d+ ms|-)\s+(\d+ ms|-)\s+(\d+ ms|-)\s+([\d.]+) MiB", out or "", re.M)
for name, window, details, box, peak in shapes:
    row(f"hostile chart: {name}", f"window {window}, details {details}, box {box}, peak {peak} MiB",
        "", "<= 500 ms, < 200 MiB")
if not shapes:
    missing("hostile charts", "<= 500 ms, < 200 MiB")

widths = [max(len(r[i]) for r in rows + [("what", "figures", "ratio", "aim")]) for i in range(4)]
line = lambda r: "| " + " | ".join(c.ljust(widths[i]) for i, c in enumerate(r)) + " |"
print(line(("what", "figures", "ratio", "aim")))
print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
for r in rows:
    print(line(r))
PY
exit 0
