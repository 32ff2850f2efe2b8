"""vantrel-chart check as a whole process, beside its floor: `wc -l` of the
same three files, 30 interleaved pairs (the order turned every pair), wall
time and peak memory of each; then check on a 16 MiB data file of invalid
lines (every line a finding), its time and peak memory beside the same check
of the largest chart the viewer takes. Prints medians and the median of the
per-pair ratios.

Usage: check_process.py VANTREL_CHART [PAIRS]
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

HEADINGS = ["OS support", "Demo version", "Interception", "Log viewing", "Security", "Network options"]


def largest_chart(folder):
    data = []
    for r in range(1, 51):
        flags = " ".join("01-"[(r + t) % 3] * 49 for t in range(1, 7))
        data.append(f"http://program{r}.example/\nProgram {r}\n{flags}\n5 4 3 2 1 0 15\n\n")
    policy = "".join(h + "\n" + "".join(f"Sub-criterion {m}\n" for m in range(1, 50)) + "\n" for h in HEADINGS)
    for name, text in (("data.dat", "".join(data)), ("policy.dat", policy), ("version.dat", "10\n10\n")):
        with open(os.path.join(folder, name), "w") as f:
            f.write(text)


def run(argv):
    """Wall seconds of one run, its output thrown away."""
    start = time.perf_counter()
    subprocess.run(argv, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.perf_counter() - start


def peak_mib(argv):
    """Peak resident MiB of one run, by GNU time: a process started from this
    one would count this one's memory too."""
    with tempfile.NamedTemporaryFile("r") as report:
        subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report.name, *argv],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return int(report.read().split()[-1]) / 1024


def pairs(a, b, count):
    """count interleaved pairs of a and b, the order turned every pair; the
    medians of their times, their peak memories, the median of the ratios."""
    ta, tb, ratios = [], [], []
    run(a), run(b)  # warm the caches
    for i in range(count):
        if i % 2 == 0:
            wa, wb = run(a), run(b)
        else:
            wb, wa = run(b), run(a)
        ta.append(wa), tb.append(wb), ratios.append(wa / wb)
    med = statistics.median
    return med(ta), med(tb), peak_mib(a), peak_mib(b), med(ratios)


def main():
    tool = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 30
    with tempfile.TemporaryDirectory() as largest, tempfile.TemporaryDirectory() as invalid:
        largest_chart(largest)
        files = [os.path.join(largest, n) for n in ("data.dat", "policy.dat", "version.dat")]
        check, wc, check_mib, wc_mib, ratio = pairs([tool, "check", largest], ["wc", "-l", *files], count)
        print(f"check beside wc -l, largest chart, {count} interleaved pairs")
        print(f"  check          : {check * 1000:8.2f} ms median, peak {check_mib:.1f} MiB")
        print(f"  wc -l          : {wc * 1000:8.2f} ms median, peak {wc_mib:.1f} MiB")
        print(f"  ratio check/wc (median of pair ratios): {ratio:.2f} (aim: at most 2)")

        # Two-line records with nothing else: a finding each, millions of them.
        for name in ("policy.dat", "version.dat"):
            os.link(os.path.join(largest, name), os.path.join(invalid, name))
        with open(os.path.join(invalid, "data.dat"), "w") as f:
            f.write("x\n\n" * (16 * 1024 * 1024 // 3))
        bad, good, bad_mib, good_mib, ratio = pairs([tool, "check", invalid], [tool, "check", largest], 5)
        print("check of a 16 MiB data file of invalid lines beside check of the largest chart, 5 pairs")
        print(f"  invalid lines  : {bad * 1000:8.2f} ms median, peak {bad_mib:.1f} MiB (aim: at most 1000 ms)")
        print(f"  largest chart  : {good * 1000:8.2f} ms median, peak {good_mib:.1f} MiB")
        print(f"  peak memory, invalid lines: {bad_mib:.1f} MiB (aim: at most 64 MiB, flat in the findings)")


if __name__ == "__main__":
    main()
