#!/usr/bin/env python3
"""Reads a CSV file as a spreadsheet program would (Python's csv module,
strict) and compares its records with those expected: one line a record,
each field as the hex of its UTF-8, fields separated by commas.

    csv_reader.py FILE.csv EXPECTED

Exit status 0 when they are the same; otherwise what differs, on stderr.
"""
import csv
import io
import sys


def main(csv_path, expected_path):
    raw = open(csv_path, "rb").read()
    text = raw.decode("utf-8")  # strict: anything that is not UTF-8 fails here
    problems = []
    if text.startswith("\ufeff"):
        problems.append("the file starts with a byte order mark")
    if not text.endswith("\r\n"):
        problems.append("the last record does not end with CR LF")
    records = list(csv.reader(io.StringIO(text, newline=""), strict=True))
    with open(expected_path, encoding="ascii") as f:
        expected = [[bytes.fromhex(field).decode("utf-8") for field in line.rstrip("\n").split(",")] for line in f]
    if len(records) != len(expected):
        problems.append(f"{len(records)} records read, {len(expected)} expected")
    for number, (read, wanted) in enumerate(zip(records, expected), 1):
        if read != wanted:
            problems.append(f"record {number}: read {read!r}, expected {wanted!r}")
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
