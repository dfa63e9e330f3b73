#!/usr/bin/env python3
"""Writes the coverage report of scripts/coverage.sh from gcovr's JSON data.

    coverage_report.py COVERAGE_JSON OUT_DIR [FOLDER...]

OUT_DIR/summary.txt: line and branch coverage per folder of src/, then per part (src/core, src/ui)
and for all of src/. OUT_DIR/untested.txt: for each source file (of the FOLDERs given, else of
all), its figures, the lines no test runs and the lines with a branch no test takes ("12 (1/2)":
line 12, one of its two branches taken). Lines are given as ranges ("40-44").
"""

import json
import sys
from pathlib import Path


def ranges(numbers):
    """'3-5, 9' for [3, 4, 5, 9]."""
    parts = []
    start = prev = None
    for n in numbers:
        if prev is not None and n == prev + 1:
            prev = n
            continue
        if start is not None:
            parts.append(str(start) if start == prev else f"{start}-{prev}")
        start = prev = n
    if start is not None:
        parts.append(str(start) if start == prev else f"{start}-{prev}")
    return ", ".join(parts)


class Counts:
    def __init__(self):
        self.lines = self.lines_run = self.branches = self.branches_taken = 0

    def add(self, other):
        self.lines += other.lines
        self.lines_run += other.lines_run
        self.branches += other.branches
        self.branches_taken += other.branches_taken

    def text(self):
        def share(part, whole):
            return f"{100.0 * part / whole:5.1f}% {part:>6}/{whole:<6}" if whole else f"{'-':>6} {0:>6}/{0:<6}"
        return f"{share(self.lines_run, self.lines)}  {share(self.branches_taken, self.branches)}"


def read_file(entry):
    """The counts of one file, its lines not run and its lines with branches not taken."""
    counts = Counts()
    not_run, partly = [], []
    for line in entry["lines"]:
        if line.get("gcovr/noncode") or line.get("gcovr/excluded"):
            continue
        number = line["line_number"]
        counts.lines += 1
        if line["count"] > 0:
            counts.lines_run += 1
        else:
            not_run.append(number)
        branches = line.get("branches", [])
        taken = sum(1 for b in branches if b["count"] > 0)
        counts.branches += len(branches)
        counts.branches_taken += taken
        if taken < len(branches):
            partly.append(f"{number} ({taken}/{len(branches)})")
    return counts, sorted(set(not_run)), partly


def main():
    data = json.loads(Path(sys.argv[1]).read_text())
    out = Path(sys.argv[2])
    chosen = [f.rstrip("/") + "/" for f in sys.argv[3:]]
    folders, parts, total = {}, {}, Counts()
    details = []
    for entry in sorted(data["files"], key=lambda e: e["file"]):
        name = entry["file"]
        counts, not_run, partly = read_file(entry)
        folder = str(Path(name).parent)
        folders.setdefault(folder, Counts()).add(counts)
        parts.setdefault("/".join(Path(name).parts[:2]), Counts()).add(counts)
        total.add(counts)
        if chosen and not any(name.startswith(c) for c in chosen):
            continue
        details.append(f"{name}\n  {counts.text()}")
        if not_run:
            details.append(f"  lines not run: {ranges(not_run)}")
        if partly:
            details.append(f"  branches not taken: {', '.join(partly)}")
    header = f"{'':28}{'lines':>22}  {'branches':>20}"
    summary = [header]
    summary += [f"{f:28}{c.text()}" for f, c in sorted(folders.items())]
    summary.append("")
    summary += [f"{p:28}{c.text()}" for p, c in sorted(parts.items())]
    summary.append(f"{'src':28}{total.text()}")
    (out / "summary.txt").write_text("\n".join(summary) + "\n")
    (out / "untested.txt").write_text("\n".join(details) + "\n")
    print("\n".join(summary))


if __name__ == "__main__":
    main()
