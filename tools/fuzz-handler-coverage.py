#!/usr/bin/env python3
"""How much of the dispatcher's handling the framer fuzz target's corpus reaches.

Needs a build of the fuzz targets with source-based coverage instead of sanitizers:

  cmake -G Ninja -S . -B build-cov -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \\
    -DCMAKE_CXX_COMPILER=clang++ -DCORVADEX_FUZZ=ON -DCORVADEX_FUZZ_COVERAGE=ON -DCORVADEX_WERROR=OFF \\
    -DCORVADEX_TESTS=OFF -DCORVADEX_BENCH=OFF
  ninja -C build-cov corvadex_assets fuzz_framer
  tools/fuzz-handler-coverage.py [--build build-cov] [--verbose] [corpus folder ...]

It runs the target once over the corpus (default fuzz/corpus/fuzz_framer; regenerate it with
CORVADEX_FUZZ_WRITE_SEEDS=fuzz build-fuzz/bin/fuzz_framer), merges the profile and counts from
llvm-cov's export:
  - whole keywords: the cases of clsWinsock::dispatchKeyword that ran,
  - families: the cases of clsWinsock::dispatchFamily that ran,
  - family keywords: the keyword tests (keyword == QLatin1String("...")) in the family modules
    that came out true,
  - handler functions entered, in the dispatcher's files and in the family modules,
  - the lines of all of them that ran.
"""
import argparse
import json
import os
import re
import subprocess
import sys
import tempfile

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
DISPATCHER = ["net/clsWinsock.cpp", "net/clsWinsock_lobby.cpp", "net/clsWinsock_login.cpp",
              "net/clsWinsock_notices.cpp", "net/clsWinsock_tables.cpp"]
MODULES = ["variants/clsSphere.cpp", "economy/clsAA.cpp", "net/clsChangePass.cpp", "tables/clsChallengeBoxes.cpp",
           "variants/clsChinchin.cpp", "variants/clsOCV.cpp", "variants/clsMemory.cpp", "variants/clsTeamOCV.cpp",
           "game/clsCVFunctions.cpp", "admin/clsAdminFunctions.cpp", "net/clsUpdateFunctions.cpp",
           "economy/clsAvatars.cpp", "net/clsLoadGame.cpp", "variants/clsCardWars.cpp"]
ENTRIES = re.compile(r"::(GameModule|AAModule|AccountModule|ChallengeModule|IncomingModule|IncomingHandler)\(")
TEST_KEYWORD = re.compile(r'keyword ([!=])= QLatin1String\("([A-Z0-9_-]+)"\)')


def run(cmd, **kw):
    return subprocess.run(cmd, check=True, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True, errors="replace", **kw)


def source(rel):
    with open(os.path.join(ROOT, rel), encoding="utf-8", errors="replace") as f:
        return f.read().splitlines()


def body_lines(lines, signature):
    """Line numbers (1-based) of the function whose definition line contains signature."""
    start = next(i for i, l in enumerate(lines) if signature in l)
    depth, out = 0, []
    for i in range(start, len(lines)):
        depth += lines[i].count("{") - lines[i].count("}")
        out.append(i + 1)
        if depth == 0 and i > start:
            break
    return out


def line_counts(segments):
    """The count of the first region that starts on each line."""
    first = {}
    for line, _col, count, has_count, is_entry, is_gap in segments:
        if has_count and is_entry and not is_gap and line not in first:
            first[line] = count
    return first


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--build", default="build-cov")
    ap.add_argument("--verbose", action="store_true")
    ap.add_argument("corpus", nargs="*", default=[os.path.join(ROOT, "fuzz/corpus/fuzz_framer")])
    args = ap.parse_args()
    binary = os.path.join(args.build, "bin", "fuzz_framer")

    with tempfile.TemporaryDirectory() as tmp:
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen", LLVM_PROFILE_FILE=os.path.join(tmp, "fuzz-%p.profraw"))
        subprocess.run([binary, "-runs=0", *args.corpus], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       check=True)
        raws = [os.path.join(tmp, f) for f in os.listdir(tmp) if f.endswith(".profraw")]
        profile = os.path.join(tmp, "fuzz.profdata")
        run(["llvm-profdata", "merge", "-sparse", "-o", profile, *raws])
        files = [os.path.join(ROOT, f) for f in DISPATCHER + MODULES]
        data = json.loads(run(["llvm-cov", "export", "-format=text", "-instr-profile=" + profile, binary, *files]).stdout)

    export = data["data"][0]
    by_file = {}
    for f in export["files"]:
        rel = os.path.relpath(os.path.realpath(f["filename"]), ROOT)
        by_file[rel] = f
    names = [fn["name"] for fn in export["functions"]]
    demangled = run(["llvm-cxxfilt"], input="\n".join(names)).stdout.splitlines()

    # Cases of the two switches.
    winsock = source("net/clsWinsock.cpp")
    counts = line_counts(by_file["net/clsWinsock.cpp"]["segments"])
    report = []
    for label, signature in (("whole keywords", "void clsWinsock::dispatchKeyword("),
                             ("families", "void clsWinsock::dispatchFamily(")):
        cases = [n for n in body_lines(winsock, signature) if re.match(r"\s*case \d+:", winsock[n - 1])]
        ran = [n for n in cases if counts.get(n, 0) > 0]
        missed = [re.match(r"\s*case (\d+):", winsock[n - 1]).group(1) for n in cases if counts.get(n, 0) == 0]
        report.append("%s reached: %d of %d%s" % (label, len(ran), len(cases), ("  (cases not run: %s)" % " ".join(missed)) if missed else ""))

    # Keyword tests of the family modules.
    tests_all = tests_true = 0
    missed_tests = []
    for rel in MODULES:
        lines = source(rel)
        taken = {}  # line -> (true count, false count) of the tests on it
        for fn in export["functions"]:
            if os.path.relpath(os.path.realpath(fn["filenames"][0]), ROOT) != rel:
                continue
            for b in fn.get("branches", []):
                if b[6] == 0:
                    t, f = taken.get(b[0], (0, 0))
                    taken[b[0]] = (max(t, b[4]), max(f, b[5]))
        for n, l in enumerate(lines, 1):
            for m in TEST_KEYWORD.finditer(l):
                tests_all += 1
                t, f = taken.get(n, (0, 0))
                if (t if m.group(1) == "=" else f) > 0:
                    tests_true += 1
                else:
                    missed_tests.append(m.group(2))
    report.append("family keywords reached (the modules' keyword tests that came out true): %d of %d" % (tests_true, tests_all))
    if missed_tests:
        report.append("  not reached: " + " ".join(missed_tests))

    # Handler functions and lines.
    for label, rels in (("dispatcher", DISPATCHER), ("family modules", MODULES)):
        entered = total = 0
        missed = []
        for fn, name in zip(export["functions"], demangled):
            rel = os.path.relpath(os.path.realpath(fn["filenames"][0]), ROOT)
            if rel not in rels or "(anonymous namespace)" in name or "::$" in name or "lambda" in name or ENTRIES.search(name):
                continue
            if re.search(r"clsWinsock::(HandleIncoming|dispatch\w+|familyOf|keywordOf|prefixes|keywords|ProcessingSeconds)\(", name):
                continue
            total += 1
            if fn["count"] > 0:
                entered += 1
            else:
                missed.append(name.split("(")[0].split(":", 1)[-1] if name.count(":") else name)
        report.append("%s handler functions entered: %d of %d%s" % (label, entered, total,
                                                                   ("  (not: %s)" % " ".join(missed)) if missed and args.verbose else ""))
    lines_in = sum(by_file[r]["summary"]["lines"]["covered"] for r in DISPATCHER + MODULES if r in by_file)
    lines_all = sum(by_file[r]["summary"]["lines"]["count"] for r in DISPATCHER + MODULES if r in by_file)
    report.append("lines run in the dispatcher and the family modules: %d of %d (%.0f%%)" % (lines_in, lines_all, 100.0 * lines_in / max(lines_all, 1)))
    print("\n".join(report))


if __name__ == "__main__":
    sys.exit(main())
