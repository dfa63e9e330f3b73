#!/usr/bin/env python3
"""Mutation testing: how many one-line faults do the tests of a folder notice?

Applies one single-line change at a time to the C++ sources of a folder (or of chosen files):
comparison operators flipped or loosened, + and - swapped, && and || swapped, a constant off by
one, a call, a `return;` or a `continue;`/`break;` removed, true and false swapped, a condition
negated. After each change it rebuilds only the test program that covers the folder (ninja works
out what depends on the file), runs the tests of that folder (stopping at the first failure; for
a core folder whose core tests all pass, the ui tests of the same subsystem are built and run
too, since the windows drive that code as well) and reports the mutant as killed, survived, not
compiled (a build failure is no kill), timed out (counted as killed) or ignored (listed in
scripts/mutation-ignore.txt with the reason: the change is one nobody could see). The source
file is restored after every mutant and on every exit, Ctrl+C included.

    scripts/mutate.py src/core/tools --count 40 --seed 1
    scripts/mutate.py src/ui/glazes/GlazeEditView.cpp --count 10
    scripts/mutate.py src/core/substitutions --rerun build-mut/mutation/core-substitutions.txt

The build directory (default build-mut) is configured on first use; results go to
<build>/mutation/<folder>.txt. With --tree DIR the mutants go into a copy of the project at DIR
(brought up to date with the worktree first, built in DIR/<build>), so the worktree stays
untouched and two folders can be tried at once, one copy each. Mutants are drawn from all
candidates of the folder in a fixed order by a seeded shuffle, so the same seed gives the same
mutants. --jobs (default 2) caps the compilers and tests running at once.

An entry of scripts/mutation-ignore.txt names its line and matches only while that line holds
its text; a stale entry is reported (and its mutant tried like any other), an entry without a
line stops the tool. Two modes look after the list:

    scripts/mutate.py --check-ignores --jobs 3      # is every entry still true?
    scripts/mutate.py --renumber-ignores            # mend the line numbers of moved entries

--check-ignores plants each entry's mutant again in copies of the project (<build>-check/w1 ...,
one per job, each with an ordinary build and an AddressSanitizer build with the standard
library's bounds checks) and runs every test of both test programs in both builds; it lists
each entry as HOLDS, KILLED (a test fails), CRASHED, ASAN (a sanitizer or bounds check
reports), TIMEOUT, NOTBUILT or STALE, in <build>/mutation/ignore-check.txt. A folder or file
as target checks only its entries; --resume keeps what an interrupted check found.

    scripts/mutate.py --check-ignores --coverage-select --jobs 3

With --coverage-select each entry's mutant runs only the test suites whose run executes the
entry's line: a test that never executes the line cannot behave otherwise with the mutant. The
map of which suite runs which line comes from the coverage build (build-coverage, built by
scripts/coverage.sh --build): every suite of both programs runs in a process of its own, --jobs
at once, each writing its gcov counts to a folder of its own (build-coverage/suites/...), and
gcov reads the counts of the entries' files. The map is kept in build-coverage/coverage-select.json
with a digest of each file it was made of, and made again when the worktree's text of an entry's
file differs (an entry names its line by number). An entry whose line no suite runs is UNRUN (no
test can notice it; counted apart from HOLDS). A line gcov counts no code for (a case label, a
constant the compiler folds) is taken as run by the suites that run its function, outside any
function by those that run any line of its file. Afterwards the suites' counts are merged into
the build folder, so scripts/coverage.sh --report reports on the whole run.
"""

import argparse
import hashlib
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import threading
import time
from concurrent.futures import ThreadPoolExecutor
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent

# Binary operators are matched with a space on each side (the house formats them so), which keeps
# template brackets, stream operators and pointers out.
SWAPS = [
    ("cmp", " < ", [" <= ", " > "]),
    ("cmp", " <= ", [" < ", " > "]),
    ("cmp", " > ", [" >= ", " < "]),
    ("cmp", " >= ", [" > ", " < "]),
    ("cmp", " == ", [" != "]),
    ("cmp", " != ", [" == "]),
    ("arith", " + ", [" - "]),
    ("arith", " - ", [" + "]),
    ("arith", " += ", [" -= "]),
    ("arith", " -= ", [" += "]),
    ("logic", " && ", [" || "]),
    ("logic", " || ", [" && "]),
]

CALL_STATEMENT = re.compile(r"^\s*(?:[A-Za-z_][\w:]*(?:\.|->))*[A-Za-z_][\w:]*\s*\(.*\)\s*;\s*$")
CONDITION = re.compile(r"\b(if|while)\s*\(")
NUMBER = re.compile(r"(?<![\w.])(\d+)(\.\d+)?(?![\w.])")
KEYWORDS_NOT_CALLS = ("return", "delete", "throw", "case", "static_assert", "sizeof", "if", "while",
                      "for", "switch", "Q_OBJECT", "Q_DECLARE", "emit")


def mask_literals(line):
    """The line with string and character literals and a // comment blanked out (same length)."""
    out = []
    i = 0
    quote = None
    while i < len(line):
        c = line[i]
        if quote:
            if c == "\\":
                out.append("  ")
                i += 2
                continue
            if c == quote:
                quote = None
                out.append(c)
            else:
                out.append(" ")
        elif c in "\"'":
            # A digit separator (1'000) is not a quote.
            if c == "'" and i > 0 and line[i - 1].isdigit() and i + 1 < len(line) and line[i + 1].isdigit():
                out.append(c)
            else:
                quote = c
                out.append(c)
        elif line.startswith("//", i):
            out.append(" " * (len(line) - i))
            break
        else:
            out.append(c)
        i += 1
    return "".join(out)[: len(line)]


def matching_paren(text, start):
    depth = 0
    for i in range(start, len(text)):
        if text[i] == "(":
            depth += 1
        elif text[i] == ")":
            depth -= 1
            if depth == 0:
                return i
    return -1


def line_mutants(line, starts_statement=True):
    """Every (kind, mutated line) of one source line."""
    stripped = line.strip()
    if not stripped or stripped.startswith(("#", "//", "*", "/*")) or "static_assert" in stripped:
        return []
    masked = mask_literals(line)
    found = []
    # Text joined with + would only fail to build when turned into -.
    joins_text = '"' in masked or re.search(r"string|QString|tr\(|Label|Name|Text", masked)
    for kind, op, replacements in SWAPS:
        if kind == "arith" and joins_text:
            continue
        start = 0
        while (pos := masked.find(op, start)) >= 0:
            for rep in replacements:
                found.append((kind, line[:pos] + rep + line[pos + len(op):]))
            start = pos + 1
    for m in NUMBER.finditer(masked):
        # Leave array sizes of declarations and version-like tokens alone; nudge a number.
        whole, frac = m.group(1), m.group(2)
        if frac:
            digits = frac[1:]
            bumped = str(int(digits) + 1).rjust(len(digits), "0")
            if len(bumped) > len(digits):
                continue
            new = whole + "." + bumped
        else:
            new = str(int(whole) + 1)
        found.append(("const", line[: m.start()] + new + line[m.end():]))
    for m in CONDITION.finditer(masked):
        open_at = m.end() - 1
        close_at = matching_paren(masked, open_at)
        if close_at < 0:
            continue
        inner = line[open_at + 1: close_at]
        if ";" in mask_literals(inner) or inner.strip().startswith(("auto ", "const ")):
            continue
        found.append(("negate", line[: open_at + 1] + "!(" + inner + ")" + line[close_at:]))
    indent = line[: len(line) - len(line.lstrip())]
    if starts_statement and CALL_STATEMENT.match(masked) and not stripped.startswith(KEYWORDS_NOT_CALLS) and " = " not in masked:
        found.append(("call", indent + ";  // mutant: call removed"))
    if stripped in ("return;", "continue;", "break;"):
        found.append(("return", indent + ";  // mutant: " + stripped[:-1] + " removed"))
    for a, b in (("true", "false"), ("false", "true")):
        for m in re.finditer(r"\b%s\b" % a, masked):
            found.append(("bool", line[: m.start()] + b + line[m.end():]))
    return found


def file_mutants(path):
    lines = path.read_text(encoding="utf-8").split("\n")
    result = []
    in_block_comment = False
    previous = ""
    for number, line in enumerate(lines, 1):
        s = line.strip()
        if in_block_comment:
            if "*/" in s:
                in_block_comment = False
            continue
        if s.startswith("/*") and "*/" not in s:
            in_block_comment = True
            continue
        starts_statement = previous == "" or previous[-1] in ";{}:" or previous.startswith("#")
        for kind, mutated in line_mutants(line, starts_statement):
            result.append((path, number, kind, line, mutated))
        code = mask_literals(line).strip()
        if code:
            previous = code
    return result


IGNORE_LIST = ROOT / "scripts" / "mutation-ignore.txt"
IGNORE_HEAD = re.compile(r"^([^\s:]+):(\d+):(\w+): (.*)$")
IGNORE_HEAD_WITHOUT_LINE = re.compile(r"^([^\s:]+):(\w+): (.*)$")


class Ignore:
    """One entry of scripts/mutation-ignore.txt: the mutant of one line that nobody could see.

    An entry is three lines: `<file>:<line>:<kind>: <reason>`, the original line and the mutated
    line (both stripped, as the tool prints them); entries are separated by blank lines. It
    matches the mutant of that line only, and only while the line still holds the original text:
    when the code moves, the entry is stale (the tool says so and tries the mutant like any other)
    until its line number is mended."""

    def __init__(self, at, rel, line, kind, reason, original, mutated):
        self.at = at  # line of the head in the list
        self.rel, self.line, self.kind, self.reason = rel, line, kind, reason
        self.original, self.mutated = original, mutated

    def key(self):
        return (self.rel, self.line, self.original, self.mutated)

    def head(self):
        return "%s:%s%s: %s" % (self.rel, "%d:" % self.line if self.line else "", self.kind, self.reason)

    def text(self):
        return "\n".join([self.head(), self.original, self.mutated])

    def describe(self):
        return "%s:%s [%s] %s  ->  %s" % (self.rel, self.line or "?", self.kind, self.original, self.mutated)


def read_ignore_list(path=None):
    """The list as pieces in order, each a comment or blank line (a string) or an entry (an
    Ignore, line None for an entry that names no line), and the complaints about its form."""
    path = path or IGNORE_LIST
    pieces, problems = [], []
    if not path.exists():
        return pieces, problems
    block, block_at = [], 0
    raws = path.read_text(encoding="utf-8").split("\n")
    if raws and raws[-1] == "":
        raws.pop()  # the text after the last line break
    for n, raw in enumerate(raws + [None], 1):
        if raw is None:  # the end: close the last block
            raw = ""
        if raw.strip() and not raw.startswith("#"):
            if not block:
                block_at = n
            block.append(raw)
            continue
        if block:
            m = IGNORE_HEAD.match(block[0])
            legacy = None if m else IGNORE_HEAD_WITHOUT_LINE.match(block[0])
            if len(block) != 3 or not (m or legacy):
                problems.append("%s:%d: not an entry (a head `<file>:<line>:<kind>: <reason>`, the original "
                                "line, the mutated line): %s" % (path.name, block_at, block[0]))
            elif m:
                pieces.append(Ignore(block_at, m.group(1), int(m.group(2)), m.group(3), m.group(4).strip(),
                                     block[1].strip(), block[2].strip()))
            else:
                pieces.append(Ignore(block_at, legacy.group(1), None, legacy.group(2), legacy.group(3).strip(),
                                     block[1].strip(), block[2].strip()))
            block = []
        if n <= len(raws):
            pieces.append(raw)
    return pieces, problems


def write_ignore_list(pieces, path=None):
    (path or IGNORE_LIST).write_text("\n".join(p.text() if isinstance(p, Ignore) else p for p in pieces) + "\n", encoding="utf-8")


class SourceMutants:
    """Each source file's lines and the mutants the tool makes of them, read once."""

    def __init__(self, root):
        self.root = root
        self.files = {}

    def get(self, rel):
        if rel not in self.files:
            path = self.root / rel
            if not path.is_file():
                self.files[rel] = None
            else:
                by_line = {}
                for _, number, _, _, mutated in file_mutants(path):
                    by_line.setdefault(number, set()).add(mutated.strip())
                self.files[rel] = (path.read_text(encoding="utf-8").split("\n"), by_line)
        return self.files[rel]

    def lines_with(self, entry):
        """The lines holding the entry's original text of which the tool makes its mutant."""
        found = self.get(entry.rel)
        if not found:
            return []
        lines, by_line = found
        return [n for n, text in enumerate(lines, 1)
                if text.strip() == entry.original and entry.mutated in by_line.get(n, ())]

    def why_stale(self, entry):
        """None while the entry's line holds its text and the tool makes its mutant there; else why not."""
        found = self.get(entry.rel)
        if not found:
            return "the file is gone"
        lines, by_line = found
        elsewhere = [n for n in self.lines_with(entry) if n != entry.line]
        where = ("; the text and mutant stand at line %s" % ", ".join(map(str, elsewhere)) if elsewhere
                 else "; the text is nowhere else in the file")
        if entry.line > len(lines):
            return "the file has %d lines%s" % (len(lines), where)
        actual = lines[entry.line - 1].strip()
        if actual != entry.original:
            return 'line %d reads "%s"%s' % (entry.line, actual, where)
        if entry.mutated not in by_line.get(entry.line, ()):
            return "the tool makes no such mutant of line %d" % entry.line
        return None


def load_ignores(root=ROOT):
    """The entries of scripts/mutation-ignore.txt whose line holds their text, by (file, line,
    original, mutated), and the stale ones with the reason. An entry that names no line, or a
    block that is no entry, stops the tool: such an entry would silence every line of that text."""
    pieces, problems = read_ignore_list()
    entries = [p for p in pieces if isinstance(p, Ignore)]
    for entry in entries:
        if entry.line is None:
            problems.append("%s:%d: the entry names no line (it would silence every line of that text; "
                            "scripts/mutate.py --renumber-ignores gives it its line): %s"
                            % (IGNORE_LIST.name, entry.at, entry.head()))
    if problems:
        sys.exit("\n".join(problems))
    sources = SourceMutants(root)
    valid, stale = {}, []
    for entry in entries:
        why = sources.why_stale(entry)
        if why:
            stale.append((entry, why))
        elif entry.key() in valid:
            print("warning: %s:%d repeats the entry at line %d" % (IGNORE_LIST.name, entry.at, valid[entry.key()].at))
        else:
            valid[entry.key()] = entry
    return valid, stale


def warn_stale(stale, files):
    """Says loudly which entries for the files under test no longer match, so they get mended."""
    rels = {str(f) for f in files}
    mine = [(e, why) for e, why in stale if e.rel in rels]
    if not stale:
        return
    print("WARNING: %d entries of %s are stale (%d for these files): their line no longer holds their text, "
          "so their mutants are tried like any other. Mend them: scripts/mutate.py --renumber-ignores, then "
          "--check-ignores." % (len(stale), "scripts/" + IGNORE_LIST.name, len(mine)), flush=True)
    for entry, why in mine:
        print("  STALE %s:%d %s: %s" % (IGNORE_LIST.name, entry.at, entry.describe(), why), flush=True)


def renumber_ignores():
    """Gives each entry that names no line, or whose line no longer holds its text, the line that
    does: an entry that names no line becomes one entry per line it matched before; a stale entry
    moves only when its text and mutant stand on exactly one line. Prints every change and every
    entry it cannot place; the list is rewritten, to be read over (git diff) and checked
    (--check-ignores)."""
    pieces, problems = read_ignore_list()
    if problems:
        sys.exit("\n".join(problems))
    sources = SourceMutants(ROOT)
    result, changed, unplaced = [], 0, 0
    for piece in pieces:
        if not isinstance(piece, Ignore) or (piece.line and not sources.why_stale(piece)):
            result.append(piece)
            continue
        lines = sources.lines_with(piece)
        if piece.line is None and lines:
            for n in lines:
                result.append(Ignore(piece.at, piece.rel, n, piece.kind, piece.reason, piece.original, piece.mutated))
                if n != lines[-1]:
                    result.append("")
            changed += 1
            print("%-9s %s -> line %s" % ("NUMBERED" if len(lines) == 1 else "SPLIT", piece.describe(),
                                          ", ".join(map(str, lines))))
        elif piece.line and len(lines) == 1:
            result.append(Ignore(piece.at, piece.rel, lines[0], piece.kind, piece.reason, piece.original,
                                 piece.mutated))
            changed += 1
            print("%-9s %s -> line %d" % ("MOVED", piece.describe(), lines[0]))
        else:
            result.append(piece)
            unplaced += 1
            print("%-9s %s (%s)" % ("UNPLACED", piece.describe(), "on lines %s: choose one" % ", ".join(map(str, lines))
                                     if lines else "the text or its mutant is gone: mend or delete the entry"))
    write_ignore_list(result)
    print("%d entries renumbered, %d left to mend by hand, in %s" % (changed, unplaced, "scripts/" + IGNORE_LIST.name))
    return 1 if unplaced else 0


def test_filter(test_dir):
    """The gtest filter selecting every suite defined in a test folder."""
    patterns = set()
    for source in sorted(test_dir.glob("*.cpp")):
        text = source.read_text(encoding="utf-8")
        for m in re.finditer(r"^\s*(TEST|TEST_F|TEST_P|TYPED_TEST)\(\s*(\w+)\s*,", text, re.M):
            # A typed suite runs once per type, as <suite>/0, <suite>/1 ...
            patterns.add(m.group(2) + ("/*" if m.group(1) == "TYPED_TEST" else ".*"))
        for m in re.finditer(r"INSTANTIATE_TEST_SUITE_P\(\s*(\w+)\s*,\s*(\w+)", text):
            patterns.add(m.group(1) + "/" + m.group(2) + ".*")
    return ":".join(sorted(patterns))


def sync_tree(tree):
    """Brings the copy of the project at tree up to date with the worktree (changed files only,
    so the copy's build recompiles only what changed)."""
    listed = subprocess.run(["git", "ls-files", "-co", "--exclude-standard", "-z"], cwd=ROOT, check=True,
                            stdout=subprocess.PIPE).stdout.decode().split("\0")
    wanted = set()
    for rel in filter(None, listed):
        source = ROOT / rel
        if not source.is_file():
            continue
        wanted.add(rel)
        target = tree / rel
        data = source.read_bytes()
        if target.exists() and target.read_bytes() == data:
            continue
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(data)
    for folder in ("src", "tests", "scripts"):
        for path in (tree / folder).rglob("*"):
            if path.is_file() and str(path.relative_to(tree)) not in wanted:
                path.unlink()


CHILDREN = set()


def run_process(cmd, timeout=None, **kwargs):
    """(exit code, output with errors merged) of a command; a command that outlives timeout is
    ended and TimeoutExpired raised. The running commands are in CHILDREN, for an interrupt."""
    with subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, errors="replace",
                          **kwargs) as proc:
        CHILDREN.add(proc)
        try:
            out, _ = proc.communicate(timeout=timeout)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.communicate()
            raise
        finally:
            CHILDREN.discard(proc)
    return proc.returncode, out


def end_children():
    for proc in list(CHILDREN):
        proc.kill()


SANITIZER_REPORT = re.compile(r"SUMMARY: (?:Address|Leak|UndefinedBehavior)Sanitizer: .*|\S+: runtime error: .*")
BOUNDS_CHECK = re.compile(r"(\S+?):\d+: [^\n]*?(Assertion '[^\n]*' failed\.)")
PROGRAM_FRAME = re.compile(r"#\d+ 0x[0-9a-f]+ in (\S+) \S*/(src/\S+)")


def sanitizer_detail(out):
    """What a sanitizer or the standard library's bounds check reported, and the first frame of
    the program's own sources; None when neither reported anything."""
    bounds = BOUNDS_CHECK.search(out)
    report = SANITIZER_REPORT.search(out)
    if not bounds and not report:
        return None
    what = "%s (%s)" % (bounds.group(2), Path(bounds.group(1)).name) if bounds else report.group(0)
    frame = None if "/src/" in what else PROGRAM_FRAME.search(out)
    return what + (" in %s %s" % (frame.group(1), frame.group(2)) if frame else "")


class Runner:
    """Builds the test programs in one build directory and runs the tests of a folder there."""

    def __init__(self, root, build, folder_rel, jobs, extra_tests=(), use_ctest=False, all_tests=False,
                 cmake_args=(), env=None):
        self.build = Path(build).resolve()
        layer, _, sub = folder_rel.partition("/")[2].partition("/")  # src/<layer>/<sub>
        self.layer = layer
        self.root = root
        # The test folders of each program: a core folder's code is also driven through the windows,
        # so the ui tests of the same subsystem run too, after the core ones have passed.
        folders = {"core_tests": [], "ui_tests": []}
        folders["core_tests" if layer == "core" else "ui_tests"].append(root / "tests" / layer / sub)
        if layer == "core":
            folders["ui_tests"].append(root / "tests" / "ui" / sub)
        for extra in extra_tests:
            folders["core_tests" if extra.startswith("core/") else "ui_tests"].append(root / "tests" / extra)
        # (test program, gtest filter) in the order they run.
        self.stages = []
        for target, dirs in folders.items():
            suites = "*" if all_tests else ":".join(f for f in (test_filter(d) for d in dirs if d.is_dir()) if f)
            if suites:
                self.stages.append((target, suites))
        if not self.stages:
            sys.exit("no tests found for " + folder_rel)
        self.target = " and ".join(target for target, _ in self.stages)
        self.filter = " ".join("%s:%s" % stage for stage in self.stages)
        self.jobs = jobs
        self.timeout = None
        self.use_ctest = use_ctest
        self.cmake_args = list(cmake_args)
        self.env = dict(env or os.environ, QT_QPA_PLATFORM="offscreen")

    def select(self, suites):
        """Runs only the given (test program, suite) pairs from now on."""
        self.stages = [(program, ":".join(suite + ".*" for p, suite in sorted(suites) if p == program))
                       for program in PROGRAMS if any(p == program for p, _ in suites)]

    @classmethod
    def from_args(cls, args, folder_rel):
        return cls(args.root, args.root / args.build, folder_rel, args.jobs, args.tests, args.ctest,
                   cmake_args=BOUNDS_CHECKS)

    def configure(self):
        """Configures the build directory on first use, and again when it was configured with
        other arguments (a flag of the check's builds changed)."""
        args = ["-DOXI_BUILD_BENCH=OFF"] + self.cmake_args
        stamp = self.build / "mutate-cmake-args.txt"
        if (self.build / "build.ninja").exists() and (not self.cmake_args or
                                                      (stamp.exists() and stamp.read_text() == " ".join(args))):
            return
        subprocess.run(["cmake", "-S", str(self.root), "-B", str(self.build), "-G", "Ninja"] + args, check=True,
                       stdout=subprocess.DEVNULL)
        stamp.write_text(" ".join(args))

    def compile(self, targets=None):
        """Builds the given test programs (the first one by default: the later ones are built
        only when the tests before them pass)."""
        targets = targets or [self.stages[0][0]]
        code, out = run_process(["ninja", "-C", str(self.build), "-j", str(self.jobs)] + targets)
        return code == 0, out

    def compile_all(self):
        return self.compile([target for target, _ in self.stages])

    def run_tests(self):
        """("passed", "") or the first stage's outcome that is not: ("failed", the first failed
        test), ("crashed", the signal and the test it ended in), ("sanitizer", the first report
        line), ("timeout", "") or ("notbuilt", "")."""
        for n, (target, filter_) in enumerate(self.stages):
            if n > 0 and not self.compile([target])[0]:
                return "notbuilt", ""
            outcome, detail = self.run_stage(target, filter_)
            if outcome != "passed":
                return outcome, detail
        return "passed", ""

    def run_stage(self, target, filter_):
        if self.use_ctest:
            # One process per test: for tests that leave the process changed for the next one.
            suites = "." if filter_ == "*" else "|".join(re.escape(f[:-2]) for f in filter_.split(":"))
            cmd = ["ctest", "--test-dir", str(self.build), "-R", "^(%s)\\." % suites, "--stop-on-failure",
                   "-j", str(self.jobs), "--output-on-failure"]
        else:
            cmd = [str(self.build / "tests" / target), "--gtest_filter=" + filter_, "--gtest_fail_fast"]
        try:
            code, out = run_process(cmd, timeout=self.timeout, env=self.env, cwd=self.build)
        except subprocess.TimeoutExpired:
            return "timeout", ""
        if code == 0:
            return "passed", ""
        report = sanitizer_detail(out)
        if report:
            return "sanitizer", report
        # A typed test is reported as "<suite>/<n>.<test>, where TypeParam = ...".
        failed = re.findall(r"\[  FAILED  \] ([^\s,]+)", out) + re.findall(r"\d+ - (\S+) \(Failed\)", out)
        if failed:
            return "failed", failed[0]
        running = re.findall(r"\[ RUN      \] (\S+)", out)
        how = "signal %d" % -code if code < 0 else "exit %d" % code
        return "crashed", "%s %s%s" % (target, how, " in " + running[-1] if running else "")


def describe(path, number, kind, original, mutated, root=ROOT):
    rel = path.relative_to(root)
    return "%s:%d [%s] %s  ->  %s" % (rel, number, kind, original.strip(), mutated.strip())


def read_rerun(path):
    """(file, line, original, mutated) of each survivor in an earlier results file."""
    wanted = []
    for line in Path(path).read_text(encoding="utf-8").split("\n"):
        m = re.match(r"^SURVIVED\s+(\S+):(\d+) \[(\w+)\] (.*)  ->  (.*)$", line)
        if m:
            wanted.append((m.group(1), int(m.group(2)), m.group(3), m.group(4), m.group(5)))
    return wanted


# Every mutation build keeps the standard library's bounds checks on: a mutant that reads or writes
# one element past a container's end aborts its test, even where the access stays inside the
# container's memory and no value a test looks at changes. Such a mutant is never one nobody could
# see.
BOUNDS_CHECKS = ["-DCMAKE_CXX_FLAGS=-D_GLIBCXX_ASSERTIONS"]
# The build the ignore check runs each mutant under besides the ordinary one: AddressSanitizer and
# UndefinedBehaviorSanitizer as ./test.sh --sanitize builds them, and the standard library's bounds
# checks, so that a read one element past a vector's end is seen even where it stays inside the
# vector's memory.
ASAN_CMAKE = ["-DCMAKE_BUILD_TYPE=Debug", "-DOXI_SANITIZE=ON"] + BOUNDS_CHECKS
# Each mutant relinks both test programs in both builds: the check's copies link with lld when
# the machine has it, several times faster than the default linker on programs of this size.
FAST_LINK = ["-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld"] if shutil.which("ld.lld") else []


def asan_env(tree):
    env = dict(os.environ)
    # handle_abort: a failed bounds check aborts, and the stack then names the program's frame.
    env["ASAN_OPTIONS"] = "detect_leaks=1:abort_on_error=1:intercept_tls_get_addr=0:handle_abort=1"
    env["LSAN_OPTIONS"] = "suppressions=%s:print_suppressions=0" % (tree / "tests" / "sanitizer" / "lsan.supp")
    env["UBSAN_OPTIONS"] = "print_stacktrace=1:halt_on_error=1"
    return env


class CheckWorker:
    """A copy of the project with an ordinary build and a sanitizer build of both test programs,
    in which the ignore check plants one entry's mutant at a time."""

    def __init__(self, tree, args):
        self.tree = tree
        # Every test of both programs: a mutant that any test notices is one somebody could see.
        self.builds = [
            ("", Runner(tree, tree / "build-mut", "src/core/all", args.jobs, use_ctest=args.ctest, all_tests=True,
                        cmake_args=BOUNDS_CHECKS + FAST_LINK)),
            ("sanitizer build", Runner(tree, tree / "build-mut-asan", "src/core/all", args.jobs, use_ctest=args.ctest,
                                       all_tests=True, cmake_args=ASAN_CMAKE + FAST_LINK, env=asan_env(tree))),
        ]
        self.planted = {}

    def sync(self):
        """Brings the copy up to date with the worktree."""
        self.tree.mkdir(parents=True, exist_ok=True)
        sync_tree(self.tree)

    def prepare(self, jobs):
        """Builds the copy with jobs parallel jobs."""
        for _, runner in self.builds:
            runner.configure()
            runner.jobs = jobs
            ok, log = runner.compile_all()
            if not ok:
                print(log[-3000:])
                sys.exit("the unchanged sources do not build in " + str(runner.build))

    def baseline(self):
        """Seconds each build's tests take on the unchanged sources; stops when they fail."""
        times = []
        for name, runner in self.builds:
            start = time.monotonic()
            outcome, detail = runner.run_tests()
            if outcome != "passed":
                sys.exit("the tests fail on the unchanged sources%s: %s %s" % (
                    " (" + name + ")" if name else "", outcome, detail))
            times.append(time.monotonic() - start)
        return times

    def restore(self):
        for path, text in list(self.planted.items()):
            path.write_text(text, encoding="utf-8")
            self.planted.pop(path)

    def check(self, entry, suites=None, seconds=0.0):
        """(status, detail) of one entry's mutant: HOLDS when no test of either build notices it.
        With suites ((program, suite) pairs) only those run, with time limits from seconds, what
        they took in the coverage build."""
        if suites:
            for name, runner in self.builds:
                runner.select(suites)
                runner.timeout = max(120.0, seconds * (20 if name else 5))
        path = self.tree / entry.rel
        source = path.read_text(encoding="utf-8")
        lines = source.split("\n")
        mutated = [m[4] for m in file_mutants(path) if m[1] == entry.line and m[4].strip() == entry.mutated]
        self.planted[path] = source
        lines[entry.line - 1] = mutated[0]
        path.write_text("\n".join(lines), encoding="utf-8")
        try:
            for name, runner in self.builds:
                ok, _ = runner.compile_all()
                outcome, detail = runner.run_tests() if ok else ("notbuilt", "")
                if outcome == "passed":
                    continue
                status = {"failed": "KILLED", "crashed": "CRASHED", "sanitizer": "ASAN", "timeout": "TIMEOUT",
                          "notbuilt": "NOTBUILT"}[outcome]
                if name and outcome != "sanitizer":
                    detail = (detail + " " if detail else "") + "(" + name + ")"
                return status, detail
            return "HOLDS", ""
        finally:
            self.restore()


PROGRAMS = ("core_tests", "ui_tests")
COVERAGE_BUILD = ROOT / "build-coverage"
COVERAGE_MAP = COVERAGE_BUILD / "coverage-select.json"


def source_digests(rels):
    return {rel: hashlib.sha1((ROOT / rel).read_bytes()).hexdigest() if (ROOT / rel).is_file() else None
            for rel in rels}


def coverage_map(rels, jobs):
    """Which test suites execute which lines of the source files rels, from the coverage build:
    {"commit", "sources": digest per file, "suites": [program, suite, seconds] ..., "files": per
    file {"lines": suite indexes per line gcov counts code on, "functions": [first line, last
    line, suite indexes] ..., "file": suite indexes running any of its lines}}. Taken from the
    cache while the files read as when it was made; else the build is brought up to date and
    every suite run again."""
    digests = source_digests(rels)
    if COVERAGE_MAP.exists():
        cached = json.loads(COVERAGE_MAP.read_text(encoding="utf-8"))
        changed = [rel for rel in rels if cached["sources"].get(rel, "") != digests[rel]]
        if not changed:
            return cached
        print("the coverage map was made of other text of %d files (%s ...): making it again"
              % (len(changed), changed[0]), flush=True)
    subprocess.run([str(ROOT / "scripts" / "coverage.sh"), "--build"], check=True,
                   env=dict(os.environ, OXI_COVERAGE_JOBS=str(min(4, max(jobs, 1)))))
    # The object files that count each file's lines (a file may be built into several targets).
    objects = {}
    for gcno in (COVERAGE_BUILD / "src").rglob("*.gcno"):
        obj = gcno.relative_to(COVERAGE_BUILD)
        source = re.sub(r"CMakeFiles/[^/]+\.dir/", "", str(obj))[: -len(".gcno")]
        if source in digests:
            objects.setdefault(source, []).append(obj)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    suites = []
    for program in PROGRAMS:
        _, out = run_process([str(COVERAGE_BUILD / "tests" / program), "--gtest_list_tests"], env=env,
                             cwd=COVERAGE_BUILD)
        suites += [(program, line.split()[0][:-1]) for line in out.split("\n")
                   if line[:1].strip() and line.split()[0].endswith(".")]
    runs = COVERAGE_BUILD / "suites"
    shutil.rmtree(runs, ignore_errors=True)
    for gcda in COVERAGE_BUILD.rglob("*.gcda"):
        gcda.unlink()
    files = {rel: {"lines": {}, "functions": {}, "file": set()} for rel in rels}
    lock = threading.Lock()  # the suites' runs fill files from several threads

    def run(n):
        program, suite = suites[n]
        # The counts of /work/.../build-coverage/src/x.gcda go to <folder>/src/x.gcda.
        folder = runs / program / suite.replace("/", "_")
        counts_to = dict(env, GCOV_PREFIX=str(folder), GCOV_PREFIX_STRIP=str(len(COVERAGE_BUILD.parts) - 1))
        start = time.monotonic()
        code, out = run_process([str(COVERAGE_BUILD / "tests" / program), "--gtest_filter=" + suite + ".*"],
                                env=counts_to, cwd=COVERAGE_BUILD)
        seconds = time.monotonic() - start
        if code != 0:
            return seconds, code, out
        # gcov finds each count file's notes file beside it.
        gcdas = []
        for obj in (o for objs in objects.values() for o in objs):
            gcda = folder / obj.with_suffix(".gcda")
            if gcda.exists():
                gcda.with_suffix(".gcno").symlink_to(COVERAGE_BUILD / obj)
                gcdas.append(str(gcda))
        _, out = run_process(["gcov", "--json-format", "--stdout"] + gcdas, cwd=folder) if gcdas else (0, "")
        for line in out.split("\n"):
            if not line.startswith("{"):
                continue
            report = json.loads(line)
            for counted in report["files"]:
                rel = os.path.relpath(Path(report["current_working_directory"]) / counted["file"], ROOT)
                if rel not in files:
                    continue
                found = files[rel]
                with lock:
                    for record in counted["lines"]:
                        on = found["lines"].setdefault(record["line_number"], set())
                        if record["count"]:
                            on.add(n)
                            found["file"].add(n)
                    for function in counted["functions"]:
                        on = found["functions"].setdefault((function["start_line"], function["end_line"]), set())
                        if function["execution_count"]:
                            on.add(n)
        return seconds, code, out

    seconds = []
    # The suites' counts add up in one folder, then go to the build folder, as if the programs had
    # run whole: scripts/coverage.sh --report reports on them.
    whole = runs / "whole"
    with ThreadPoolExecutor(max(1, jobs)) as pool:
        for n, (took, code, out) in enumerate(pool.map(run, range(len(suites)))):
            if code != 0:
                pool.shutdown(cancel_futures=True)
                print(out[-3000:])
                sys.exit("the tests fail on the unchanged sources (coverage build): %s %s" % suites[n])
            seconds.append(took)
            folder = runs / suites[n][0] / suites[n][1].replace("/", "_")
            if not folder.exists():
                continue
            if not whole.exists():
                folder.rename(whole)
            else:
                run_process(["gcov-tool", "merge", "-o", str(whole), str(folder), str(whole)])
                shutil.rmtree(folder)
            print("\rcoverage: %d of %d suites run" % (n + 1, len(suites)), end="", flush=True)
    print(flush=True)
    for gcda in whole.rglob("*.gcda"):
        gcda.replace(COVERAGE_BUILD / gcda.relative_to(whole))
    shutil.rmtree(runs)
    if source_digests(rels) != digests:
        sys.exit("the sources changed while the coverage map was made: run again")
    commit = subprocess.run(["git", "describe", "--always", "--dirty"], cwd=ROOT, stdout=subprocess.PIPE,
                            text=True).stdout.strip()
    made = {"commit": commit, "sources": digests,
            "suites": [[program, suite, took] for (program, suite), took in zip(suites, seconds)],
            "files": {rel: {"lines": {str(k): sorted(v) for k, v in found["lines"].items()},
                            "functions": [[a, b, sorted(v)] for (a, b), v in found["functions"].items()],
                            "file": sorted(found["file"])} for rel, found in files.items()}}
    COVERAGE_MAP.write_text(json.dumps(made), encoding="utf-8")
    return made


def suites_running(cmap, entry):
    """The (program, suite) pairs whose run executes the entry's line, and their seconds in the
    coverage build. Where gcov counts no code on the line, or the line is a case label (which
    decides where the switch above jumps), the suites running its function stand in; outside any
    function, those running any line of the file."""
    found = cmap["files"].get(entry.rel)
    if not found:
        return [], 0.0
    chosen = found["lines"].get(str(entry.line))
    if chosen is None or entry.original.startswith(("case ", "default:")):
        around = [set(ids) for first, last, ids in found["functions"] if first <= entry.line <= last]
        chosen = set().union(*around) if around else found["file"]
    suites = [cmap["suites"][n] for n in sorted(chosen)]
    return [(program, suite) for program, suite, _ in suites], sum(took for _, _, took in suites)


CHECK_STATUSES = [("HOLDS", "hold"), ("UNRUN", "run by no test"), ("KILLED", "killed by a test"),
                  ("CRASHED", "crashed a test program"), ("ASAN", "flagged by the sanitizers"),
                  ("TIMEOUT", "timed out"), ("NOTBUILT", "do not compile"), ("STALE", "stale")]


def check_ignores(args):
    """Plants every entry's mutant again, in copies of the project, and runs every test of both
    test programs on it, in an ordinary build and under AddressSanitizer: an entry holds only when
    nothing notices. Stale entries are listed, not run. Up to --jobs copies work at once."""
    pieces, problems = read_ignore_list()
    if problems:
        sys.exit("\n".join(problems))
    entries = [p for p in pieces if isinstance(p, Ignore)]
    if args.target:
        entries = [e for e in entries if e.rel == args.target or e.rel.startswith(args.target.rstrip("/") + "/")]
    sources = SourceMutants(ROOT)
    out_dir = ROOT / args.build / "mutation"
    out_dir.mkdir(parents=True, exist_ok=True)
    report_path = out_dir / "ignore-check.txt"
    partial_path = out_dir / "ignore-check.partial"
    # --resume keeps what an interrupted check found, entry by entry (by file, line and text).
    earlier = {}
    if args.resume and partial_path.exists():
        for line in partial_path.read_text(encoding="utf-8").split("\n"):
            m = re.match(r"^(\w+)\s+\S+:\d+ (.*?)(?:    # (.*))?$", line)
            if m and m.group(1) != "STALE":
                earlier[m.group(2)] = (m.group(1), m.group(3) or "")
    results = {}
    for entry in entries:
        why = "names no line" if entry.line is None else sources.why_stale(entry)
        if why:
            results[entry.at] = ("STALE", why)
        elif entry.describe() in earlier:
            results[entry.at] = earlier[entry.describe()]
    runnable = [e for e in entries if e.at not in results]
    lock = threading.Lock()

    def show(entry, status, detail):
        line = "%-8s %s:%d %s%s" % (status, IGNORE_LIST.name, entry.at, entry.describe(),
                                    ("    # " + detail) if detail else "")
        with lock:
            print(line, flush=True)
            with open(partial_path, "a", encoding="utf-8") as partial:
                partial.write(line + "\n")

    if not args.resume:
        partial_path.write_text("", encoding="utf-8")
    for entry in entries:
        if entry.at in results and (results[entry.at][0] == "STALE" or not args.resume):
            show(entry, *results[entry.at])
    selected = {}
    if args.coverage_select and runnable:
        cmap = coverage_map(sorted({e.rel for e in runnable}), args.jobs)
        print("coverage map of %s" % cmap["commit"], flush=True)
        for entry in runnable:
            selected[entry.at] = suites_running(cmap, entry)
            if not selected[entry.at][0]:
                results[entry.at] = ("UNRUN", "")
                show(entry, "UNRUN", "")
        runnable = [e for e in runnable if e.at not in results]

    workers = [CheckWorker(ROOT / (args.build + "-check") / ("w%d" % (n + 1)), args)
               for n in range(max(1, min(args.jobs, len(runnable))))]

    def on_signal(signum, _frame):
        end_children()
        for worker in workers:
            worker.restore()
        os._exit(128 + signum)

    for sig in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(sig, on_signal)

    if runnable:
        # The copies are built one after the other with every job; then each copy works on its
        # own mutants with one job, so that no more than --jobs compilers or tests run at once.
        # Every copy takes the worktree as it is now, before the long builds, so that later
        # edits to the worktree stay out of the check.
        for worker in workers:
            worker.sync()
        for worker in workers:
            worker.prepare(args.jobs)
        # With a coverage selection the coverage run stands for the run on the unchanged sources.
        times = [0.0, 0.0] if selected else workers[0].baseline()
        for worker in workers:
            for (_, runner), seconds in zip(worker.builds, times):
                runner.jobs = 1
                runner.timeout = max(120.0, seconds * 5)
        stale = sum(1 for status, _ in results.values() if status == "STALE")
        print("%d entries, %d stale, %d judged before; %d to check in %d copies (tests take %s)" % (
            len(entries), stale, len(results) - stale, len(runnable), len(workers),
            "the suites that run each line" if selected else " and ".join("%.0f s" % t for t in times)), flush=True)
        queue = list(reversed(runnable))

        def work(worker):
            while True:
                with lock:
                    if not queue:
                        return
                    entry = queue.pop()
                status, detail = worker.check(entry, *selected.get(entry.at, (None, 0.0)))
                with lock:
                    results[entry.at] = (status, detail)
                show(entry, status, detail)

        threads = [threading.Thread(target=work, args=(w,), daemon=True) for w in workers]
        for thread in threads:
            thread.start()
        for thread in threads:
            while thread.is_alive():
                thread.join(1.0)

    counts = {status: 0 for status, _ in CHECK_STATUSES}
    with open(report_path, "w", encoding="utf-8") as report:
        report.write("# ignore list check: %s of core_tests and ui_tests, ordinary and sanitizer builds\n"
                     % ("the suites that run each entry's line" if args.coverage_select else "every test"))
        for entry in entries:
            status, detail = results[entry.at]
            counts[status] += 1
            report.write("%-8s %s:%d %s%s\n" % (status, IGNORE_LIST.name, entry.at, entry.describe(),
                                                ("    # " + detail) if detail else ""))
        summary = "# %d entries: %s" % (len(entries), ", ".join(
            "%d %s" % (counts[status], words) for status, words in CHECK_STATUSES))
        report.write(summary + "\n")
    partial_path.unlink()
    print(summary)
    print("results in", report_path)
    return 0 if counts["HOLDS"] + counts["UNRUN"] == len(entries) else 1


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("target", nargs="?",
                        help="a source folder (src/core/tools) or one source file (with --check-ignores: "
                             "only the entries of that folder or file)")
    parser.add_argument("--count", type=int, default=40, help="mutants to try (default 40)")
    parser.add_argument("--seed", type=int, default=1, help="seed of the sampling (default 1)")
    parser.add_argument("--build", default="build-mut", help="build directory (default build-mut)")
    parser.add_argument("--jobs", type=int, default=2,
                        help="ninja jobs; with --check-ignores the copies working at once (default 2)")
    parser.add_argument("--tests", action="append", default=[],
                        help="a further test folder to run, as <layer>/<folder> (repeatable)")
    parser.add_argument("--ctest", action="store_true", help="run each test in its own process")
    parser.add_argument("--rerun", help="try again the survivors listed in an earlier results file")
    parser.add_argument("--tree", help="mutate a copy of the project in this folder, not the worktree")
    parser.add_argument("--no-sync", action="store_true", help="use the copy of --tree as it is")
    parser.add_argument("--list", action="store_true", help="list the chosen mutants, run nothing")
    parser.add_argument("--check-ignores", action="store_true",
                        help="re-run every mutant of scripts/mutation-ignore.txt against every test, also under "
                             "AddressSanitizer, and list the entries that are not true or are stale")
    parser.add_argument("--resume", action="store_true",
                        help="with --check-ignores: keep the results of an interrupted check")
    parser.add_argument("--coverage-select", action="store_true",
                        help="with --check-ignores: run for each entry only the test suites that execute its line, "
                             "as the coverage build (build-coverage) finds; a line no suite runs is UNRUN")
    parser.add_argument("--renumber-ignores", action="store_true",
                        help="give the entries that name no line, or whose line moved, their line")
    args = parser.parse_args()
    args.root = ROOT
    if args.coverage_select and not args.check_ignores:
        parser.error("--coverage-select goes with --check-ignores")
    if args.renumber_ignores:
        return renumber_ignores()
    if args.check_ignores:
        return check_ignores(args)
    if not args.target:
        parser.error("a source folder or file is needed")
    if args.tree:
        args.root = Path(args.tree).resolve()
        if not args.no_sync:
            sync_tree(args.root)

    target = (args.root / args.target).resolve()
    files = sorted(target.glob("*.cpp")) if target.is_dir() else [target]
    folder = target if target.is_dir() else target.parent
    folder_rel = str(folder.relative_to(args.root))
    ignores, stale = load_ignores(args.root)
    warn_stale(stale, [f.relative_to(args.root) for f in files])

    if args.rerun:
        chosen = []
        for rel, number, kind, original, mutated in read_rerun(args.rerun):
            path = args.root / rel
            lines = path.read_text(encoding="utf-8").split("\n")
            # The line may have moved: find the same text nearest to where it was.
            hits = [i + 1 for i, l in enumerate(lines) if l.strip() == original]
            if not hits:
                print("GONE     %s:%d %s" % (rel, number, original))
                continue
            at = min(hits, key=lambda n: abs(n - number))
            line = lines[at - 1]
            indent = line[: len(line) - len(line.lstrip())]
            candidates = [m for m in file_mutants(path) if m[1] == at and m[4].strip() == mutated]
            chosen.append(candidates[0] if candidates else (path, at, kind, line, indent + mutated))
    else:
        candidates = [m for f in files for m in file_mutants(f)]
        rng = random.Random(args.seed)
        chosen = rng.sample(candidates, min(args.count, len(candidates)))
        chosen.sort(key=lambda m: (str(m[0]), m[1]))

    if args.list:
        for m in chosen:
            print(describe(*m, root=args.root))
        return 0

    runner = Runner.from_args(args, folder_rel)
    out_dir = runner.build / "mutation"
    out_dir.mkdir(parents=True, exist_ok=True)
    suffix = "-rerun-" + Path(args.rerun).stem if args.rerun else ""
    report_path = out_dir / (folder_rel.replace("src/", "").replace("/", "-") + suffix + ".txt")

    # Whatever happens (a failure, Ctrl+C, a kill), the file under mutation gets its text back.
    current = {}

    def restore():
        for path, text in list(current.items()):
            path.write_text(text, encoding="utf-8")
            current.pop(path)

    def on_signal(signum, _frame):
        restore()
        sys.exit(128 + signum)

    for sig in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(sig, on_signal)

    counts = {"killed": 0, "survived": 0, "not compiled": 0, "ignored": 0}
    try:
        runner.configure()
        ok, log = runner.compile_all()
        if not ok:
            print(log[-3000:])
            sys.exit("the unchanged sources do not build")
        start = time.monotonic()
        outcome, detail = runner.run_tests()
        baseline = time.monotonic() - start
        if outcome != "passed" and not runner.use_ctest:
            print("the tests fail together (%s); running each on its own" % detail, flush=True)
            runner.use_ctest = True
            start = time.monotonic()
            outcome, detail = runner.run_tests()
            baseline = time.monotonic() - start
        if outcome != "passed":
            sys.exit("the tests fail on the unchanged sources: " + detail)
        runner.timeout = max(30.0, baseline * 5)
        print("%s: %d candidates in %d files; %s in %.1f s" % (
            folder_rel, len([m for f in files for m in file_mutants(f)]) if not args.rerun else len(chosen),
            len(files), runner.target, baseline), flush=True)
        with open(report_path, "w", encoding="utf-8") as report:
            report.write("# %s seed %d count %d tests %s\n" % (folder_rel, args.seed, len(chosen), runner.filter))
            for path, number, kind, original, mutated in chosen:
                text = describe(path, number, kind, original, mutated, args.root)
                rel = str(path.relative_to(args.root))
                ignore = ignores.get((rel, number, original.strip(), mutated.strip()))
                if ignore:
                    status, detail = "IGNORED", ignore.reason
                else:
                    source = path.read_text(encoding="utf-8")
                    current[path] = source
                    lines = source.split("\n")
                    lines[number - 1] = mutated
                    path.write_text("\n".join(lines), encoding="utf-8")
                    ok, _ = runner.compile()
                    if not ok:
                        status, detail = "NOTBUILT", ""
                    else:
                        outcome, detail = runner.run_tests()
                        status = {"passed": "SURVIVED", "notbuilt": "NOTBUILT"}.get(outcome, "KILLED")
                        if outcome == "timeout":
                            detail = "timed out"
                    restore()
                key = {"IGNORED": "ignored", "NOTBUILT": "not compiled", "SURVIVED": "survived",
                       "KILLED": "killed"}[status]
                counts[key] += 1
                line = "%-8s %s%s" % (status, text, ("    # " + detail) if detail else "")
                print(line, flush=True)
                report.write(line + "\n")
                report.flush()
            summary = "# %s: killed %d, survived %d, ignored %d, not compiled %d" % (
                folder_rel, counts["killed"], counts["survived"], counts["ignored"], counts["not compiled"])
            report.write(summary + "\n")
            print(summary)
            print("results in", report_path)
        # The build goes back to the sources as they are, so that no mutant stays in a program.
        restore()
        runner.compile_all()
    finally:
        restore()
    return 0


if __name__ == "__main__":
    sys.exit(main())
