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
untouched and two folders can be tried at once, one copy each. Mutants are drawn from all candidates of the folder in a fixed
order by a seeded shuffle, so the same seed gives the same mutants.
"""

import argparse
import os
import random
import re
import signal
import subprocess
import sys
import time
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


def load_ignores():
    """(file, line number or None, original line, mutated line) -> reason, from
    scripts/mutation-ignore.txt.

    Each entry is three lines: `file:kind: reason` (or `file:line:kind: reason` to match that line
    only, where the same text appears elsewhere in the file), the original line, the mutated line
    (both stripped); entries are separated by blank lines."""
    ignores = {}
    path = ROOT / "scripts" / "mutation-ignore.txt"
    if not path.exists():
        return ignores
    block = []
    for raw in path.read_text(encoding="utf-8").split("\n") + [""]:
        if raw.startswith("#"):
            continue
        if raw.strip():
            block.append(raw)
            continue
        if len(block) == 3:
            head, original, mutated = block
            file_part, _, reason = head.partition(": ")
            parts = file_part.split(":")
            number = int(parts[1]) if len(parts) > 2 and parts[1].isdigit() else None
            ignores[(parts[0], number, original.strip(), mutated.strip())] = reason.strip()
        block = []
    return ignores


def test_filter(test_dir):
    """The gtest filter selecting every suite defined in a test folder."""
    suites = set()
    for source in sorted(test_dir.glob("*.cpp")):
        for m in re.finditer(r"^\s*(?:TEST|TEST_F|TEST_P|TYPED_TEST)\(\s*(\w+)\s*,",
                             source.read_text(encoding="utf-8"), re.M):
            suites.add(m.group(1))
        for m in re.finditer(r"INSTANTIATE_TEST_SUITE_P\(\s*(\w+)\s*,\s*(\w+)", source.read_text(encoding="utf-8")):
            suites.add(m.group(1) + "/" + m.group(2))
    return ":".join(sorted(s + ".*" for s in suites))


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


class Runner:
    def __init__(self, args, folder_rel):
        self.build = (args.root / args.build).resolve()
        layer, _, sub = folder_rel.partition("/")[2].partition("/")  # src/<layer>/<sub>
        self.layer = layer
        self.root = args.root
        # The test folders of each program: a core folder's code is also driven through the windows,
        # so the ui tests of the same subsystem run too, after the core ones have passed.
        folders = {"core_tests": [], "ui_tests": []}
        folders["core_tests" if layer == "core" else "ui_tests"].append(args.root / "tests" / layer / sub)
        if layer == "core":
            folders["ui_tests"].append(args.root / "tests" / "ui" / sub)
        for extra in args.tests:
            folders["core_tests" if extra.startswith("core/") else "ui_tests"].append(args.root / "tests" / extra)
        # (test program, gtest filter) in the order they run.
        self.stages = []
        for target, dirs in folders.items():
            suites = ":".join(f for f in (test_filter(d) for d in dirs if d.is_dir()) if f)
            if suites:
                self.stages.append((target, suites))
        if not self.stages:
            sys.exit("no tests found for " + folder_rel)
        self.target = " and ".join(target for target, _ in self.stages)
        self.filter = " ".join("%s:%s" % stage for stage in self.stages)
        self.jobs = args.jobs
        self.timeout = None
        self.use_ctest = args.ctest
        self.env = dict(os.environ, QT_QPA_PLATFORM="offscreen")

    def configure(self):
        if not (self.build / "build.ninja").exists():
            subprocess.run(["cmake", "-S", str(self.root), "-B", str(self.build), "-G", "Ninja",
                            "-DOXI_BUILD_BENCH=OFF"], check=True, stdout=subprocess.DEVNULL)

    def compile(self, targets=None):
        """Builds the given test programs (the first one by default: the later ones are built
        only when the tests before them pass)."""
        targets = targets or [self.stages[0][0]]
        proc = subprocess.run(["ninja", "-C", str(self.build), "-j", str(self.jobs)] + targets,
                              stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        return proc.returncode == 0, proc.stdout

    def compile_all(self):
        return self.compile([target for target, _ in self.stages])

    def run_tests(self):
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
            suites = "|".join(re.escape(f[:-2]) for f in filter_.split(":"))
            cmd = ["ctest", "--test-dir", str(self.build), "-R", "^(%s)\\." % suites, "--stop-on-failure",
                   "-j", str(self.jobs)]
        else:
            cmd = [str(self.build / "tests" / target), "--gtest_filter=" + filter_,
                   "--gtest_fail_fast", "--gtest_brief=1"]
        try:
            proc = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                                  timeout=self.timeout, env=self.env, cwd=self.build)
        except subprocess.TimeoutExpired:
            return "timeout", ""
        if proc.returncode == 0:
            return "passed", ""
        failed = re.findall(r"\[  FAILED  \] (\S+)", proc.stdout) + re.findall(r"\d+ - (\S+) \(Failed\)", proc.stdout)
        return "failed", failed[0] if failed else "%s exit %d" % (target, proc.returncode)


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


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("target", help="a source folder (src/core/tools) or one source file")
    parser.add_argument("--count", type=int, default=40, help="mutants to try (default 40)")
    parser.add_argument("--seed", type=int, default=1, help="seed of the sampling (default 1)")
    parser.add_argument("--build", default="build-mut", help="build directory (default build-mut)")
    parser.add_argument("--jobs", type=int, default=2, help="ninja jobs (default 2)")
    parser.add_argument("--tests", action="append", default=[],
                        help="a further test folder to run, as <layer>/<folder> (repeatable)")
    parser.add_argument("--ctest", action="store_true", help="run each test in its own process")
    parser.add_argument("--rerun", help="try again the survivors listed in an earlier results file")
    parser.add_argument("--tree", help="mutate a copy of the project in this folder, not the worktree")
    parser.add_argument("--no-sync", action="store_true", help="use the copy of --tree as it is")
    parser.add_argument("--list", action="store_true", help="list the chosen mutants, run nothing")
    args = parser.parse_args()
    args.root = ROOT
    if args.tree:
        args.root = Path(args.tree).resolve()
        if not args.no_sync:
            sync_tree(args.root)

    target = (args.root / args.target).resolve()
    files = sorted(target.glob("*.cpp")) if target.is_dir() else [target]
    folder = target if target.is_dir() else target.parent
    folder_rel = str(folder.relative_to(args.root))
    ignores = load_ignores()

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

    runner = Runner(args, folder_rel)
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
                reason = (ignores.get((rel, number, original.strip(), mutated.strip()))
                          or ignores.get((rel, None, original.strip(), mutated.strip())))
                if reason:
                    status, detail = "IGNORED", reason
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
