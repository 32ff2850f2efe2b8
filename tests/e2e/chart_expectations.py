"""What a chart's files say, read here apart from the program: the
expectations the Compare run checks the window against, and the chart it
serves.

  chart_expectations.py view FOLDER          the view the run makes, as the
        window's CSV writes it: the programs that answer YES to Screenshots
        (Interception) and Tamper alerts (Security), by Security, highest
        first (ties in the chart's order); the name, the seven results, every
        answer
  chart_expectations.py downs FOLDER         the Downs from Screenshots to
        Tamper alerts in the tree of tests, every test open
  chart_expectations.py answers FOLDER NAME  what the details panel shows of
        that program's Total: each test's title, then its answers
  chart_expectations.py renamed FOLDER OLD NEW  the data file with the
        program OLD named NEW, its bytes otherwise as they are
"""
import csv
import sys

HEADINGS = ["OS support", "Demo version", "Interception", "Log viewing", "Security", "Network options"]


def records(folder, name):
    text = open(f"{folder}/{name}", encoding="utf-8").read().replace("\r", "")
    return [r.split("\n") for r in text.split("\n\n") if r.strip()]


def answer(flags, test, sub):
    """YES, NO or N/A: the sub-th character (1-based) of the test-th word."""
    words = flags.split(" ")
    token = words[test - 1] if test - 1 < len(words) else ""
    return {"1": "YES", "0": "NO"}.get(token[sub - 1] if sub - 1 < len(token) else "", "N/A")


def view(folder):
    tests = records(folder, "policy")
    rows = []
    for program in records(folder, "data"):
        name, flags, results = program[1], program[2], program[3].split(" ")
        answers = [answer(flags, t, m) for t, test in enumerate(tests, 1) for m in range(1, len(test))]
        if answer(flags, 3, 3) == "YES" and answer(flags, 5, 6) == "YES":
            rows.append([name] + results + answers)
    rows.sort(key=lambda row: -int(row[5]))
    out = csv.writer(sys.stdout, lineterminator="\r\n")
    out.writerow(["Program"] + HEADINGS + ["Total"] +
                 [f"{HEADINGS[t]}: {n}" for t, test in enumerate(tests) for n in test[1:]])
    out.writerows(rows)


def downs(folder):
    tests = records(folder, "policy")
    # The rest of Interception, Log viewing and its sub-criteria, Security
    # and its first six.
    print((len(tests[2]) - 1 - 3) + len(tests[3]) + 1 + 6)


def answers(folder, name):
    flags = next(p[2] for p in records(folder, "data") if p[1] == name)
    for t, test in enumerate(records(folder, "policy"), 1):
        print(test[0])
        for m, sub in enumerate(test[1:], 1):
            print(sub + ": " + answer(flags, t, m))


def renamed(folder, old, new):
    lines = open(f"{folder}/data", encoding="utf-8", newline="").read().split("\n")
    lines = [new + "\r" if line.rstrip("\r") == old else line for line in lines]
    sys.stdout.write("\n".join(lines))


{"view": view, "downs": downs, "answers": answers, "renamed": renamed}[sys.argv[1]](*sys.argv[2:])
