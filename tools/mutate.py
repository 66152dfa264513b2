#!/usr/bin/env python3
"""How many deliberate faults the native suite catches.

Applies one small fault at a time to the engine sources (a comparison flipped, == and !=
swapped, && and || swapped, + 1 and - 1 swapped, true and false swapped), rebuilds and runs the
native suite (the tests whose programs the fault reaches), and prints the share of faults caught. The faults are drawn from a fixed seed, so
two runs on the same engine sources try the same faults and their scores compare.

The work happens on a copy of the source tree in build/mutate/src (built in build/mutate/build);
the worktree itself is never written. A fault that does not compile is left out of the score; a
suite that hangs past the timeout counts as caught.

  tools/mutate.py [--seed S] [--count N] [--only ID,...] [--list]
"""
import argparse
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TREE = ROOT  # the git tree whose sources and tests are tried (--tree)
WORK = os.path.join(ROOT, "build", "mutate")  # --work: another folder, for two runs at once
SOURCE_COPY = os.path.join(WORK, "src")
BUILD = os.path.join(WORK, "build")

# The portable engines and command-line tools; the Win32 shells are tested under Wine instead.
ENGINE_SOURCES = [
    "layoutpress/structure/structure_parser.cpp",
    "layoutpress/structure/member_table.cpp",
    "layoutpress/conversion/number_reading.cpp",
    "layoutpress/conversion/number_format.cpp",
    "layoutpress/conversion/text_to_binary.cpp",
    "layoutpress/conversion/binary_to_text.cpp",
    "layoutpress/documents/temporary_memory.cpp",
    "layoutpress/documents/buffers.cpp",
    "layoutpress/documents/settings.cpp",
    "layoutpress/documents/binary_display.cpp",
    "layoutpress/documents/file_store.cpp",
    "layoutpress/documents/document_files.cpp",
    "layoutpress/documents/memory_resize.cpp",
    "layoutpress/documents/filter_text.cpp",
    "layoutpress/cli/cli_files.cpp",
    "layoutpress/cli/layoutpress_cli.cpp",
    "layoutpress/shell/shell_geometry.cpp",
    "tallydrill/questions/question_record.cpp",
    "tallydrill/questions/line_breaks.cpp",
    "tallydrill/tiles/tile_cells.cpp",
    "tallydrill/tiles/tile_plan.cpp",
    "tallydrill/practice/score_answer.cpp",
    "tallydrill/practice/answer_deal.cpp",
    "tallydrill/practice/judging.cpp",
    "tallydrill/practice/window_layout.cpp",
    "tallydrill/cli/hand_layout.cpp",
    "tallydrill/cli/question_check.cpp",
    "tallydrill/cli/question_show.cpp",
    "tallydrill/cli/tile_names.cpp",
    "tallydrill/cli/tallydrill_cli.cpp",
]

# Binary operators are written with a space on each side, which keeps template brackets,
# shifts and arrows out.
OPERATOR_SWAPS = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "==",
                  "&&": "||", "||": "&&"}
OPERATOR = re.compile(r"(?<= )(<=|>=|==|!=|&&|\|\||<|>)(?= )")
OFF_BY_ONE = re.compile(r"(?<= )([+-]) 1(?![\w.'])")
BOOLEAN = re.compile(r"\b(true|false)\b")


def blank_out_literals_and_comments(text):
    """The text with comments, string and character literals and preprocessor lines replaced
    by spaces (same length, so offsets stay), where no fault is placed."""
    out = list(text)
    i, n = 0, len(text)
    line_start = True
    while i < n:
        c = text[i]
        if line_start and text[i:].lstrip(" \t").startswith("#"):
            end = text.find("\n", i)
            end = n if end < 0 else end
            for k in range(i, end):
                out[k] = " "
            i = end
            continue
        line_start = c == "\n"
        if text.startswith("//", i):
            end = text.find("\n", i)
            end = n if end < 0 else end
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
        elif c == '"' or (c == "'" and not (i > 0 and text[i - 1].isalnum())):
            end = i + 1
            while end < n and text[end] != c:
                end += 2 if text[end] == "\\" else 1
            end += 1
        else:
            i += 1
            continue
        for k in range(i, min(end, n)):
            if out[k] != "\n":
                out[k] = " "
        i = end
    return "".join(out)


def find_mutants():
    """Every place a fault can go, in a fixed order: (file, offset, original, replacement)."""
    mutants = []
    for path in ENGINE_SOURCES:
        with open(os.path.join(TREE, path), encoding="utf-8") as f:
            text = f.read()
        code = blank_out_literals_and_comments(text)
        found = []
        for m in OPERATOR.finditer(code):
            found.append((m.start(), m.group(1), OPERATOR_SWAPS[m.group(1)]))
        for m in OFF_BY_ONE.finditer(code):
            sign = m.group(1)
            found.append((m.start(), sign + " 1", ("-" if sign == "+" else "+") + " 1"))
        for m in BOOLEAN.finditer(code):
            word = m.group(1)
            found.append((m.start(), word, "false" if word == "true" else "true"))
        for offset, original, replacement in sorted(found):
            mutants.append((path, offset, original, replacement))
    return mutants


def describe(mutant_id, mutant):
    path, offset, original, replacement = mutant
    with open(os.path.join(TREE, path), encoding="utf-8") as f:
        text = f.read()
    line = text.count("\n", 0, offset) + 1
    line_start = text.rfind("\n", 0, offset) + 1
    line_end = text.find("\n", offset)
    shown = text[line_start:line_end].strip()
    return f"#{mutant_id} {path}:{line}: '{original}' -> '{replacement}'   {shown}"


def copy_tree():
    """Brings build/mutate/src up to the worktree (tracked and new files), writing only files
    that differ so the build redoes only what changed."""
    listed = subprocess.run(["git", "ls-files", "-co", "--exclude-standard", "-z"], cwd=TREE,
                            check=True, capture_output=True).stdout.decode().split("\0")
    wanted = set()
    for path in listed:
        if not path or path.startswith("fuzz/corpus/") or path.startswith("build/"):
            continue
        source = os.path.join(TREE, path)
        if not os.path.isfile(source):
            continue
        wanted.add(path)
        target = os.path.join(SOURCE_COPY, path)
        with open(source, "rb") as f:
            content = f.read()
        if os.path.isfile(target):
            with open(target, "rb") as f:
                if f.read() == content:
                    continue
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copy2(source, target)
    for directory, _, files in os.walk(SOURCE_COPY):
        for name in files:
            path = os.path.relpath(os.path.join(directory, name), SOURCE_COPY)
            if path not in wanted:
                os.remove(os.path.join(directory, name))


def run(command, timeout=None):
    """Runs quietly at low priority; the exit code, or None after the timeout."""
    process = subprocess.Popen(["nice", "-n", "10"] + command, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL, start_new_session=True)
    try:
        return process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        return None
    finally:
        if process.poll() is None:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()


def object_targets():
    """Source path -> the ninja object targets compiled from it."""
    listed = subprocess.run(["ninja", "-C", BUILD, "-t", "targets", "all"], check=True,
                            capture_output=True, text=True).stdout
    objects = {}
    for line in listed.splitlines():
        target = line.split(":")[0]
        if not target.endswith(".o"):
            continue
        for path in ENGINE_SOURCES:
            directory, name = os.path.split(path)
            if target.startswith(directory + "/CMakeFiles/") and target.endswith("/" + name + ".o"):
                objects.setdefault(path, []).append(target)
    return objects


def configure(jobs):
    os.makedirs(BUILD, exist_ok=True)
    subprocess.run(["cmake", "-S", SOURCE_COPY, "-B", BUILD, "-G", "Ninja",
                    "-DCMAKE_BUILD_TYPE=RelWithDebInfo",
                    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -DNDEBUG"],
                   check=True, stdout=subprocess.DEVNULL)
    if run(["ninja", "-C", BUILD, "-j", str(jobs)]) != 0:
        sys.exit("mutate: the unchanged tree does not build in build/mutate/build")


def list_tests():
    """Every ctest test as (name, command)."""
    listed = subprocess.run(["ctest", "--test-dir", BUILD, "--show-only=json-v1"], check=True,
                            capture_output=True, text=True).stdout
    return [(test["name"], test.get("command", [])) for test in json.loads(listed)["tests"]]


def build_outputs():
    """The programs and pack files of the build, with their modification times: a test whose
    program was rebuilt is one a fault can reach."""
    outputs = {}
    for directory, subdirectories, files in os.walk(BUILD):
        subdirectories[:] = [d for d in subdirectories if d not in ("CMakeFiles", "Testing")]
        for name in files:
            path = os.path.join(directory, name)
            if os.access(path, os.X_OK) or name.endswith(".tt"):
                outputs[path] = os.stat(path).st_mtime_ns
    return outputs


def reached_tests(tests, before, after):
    """The tests that run a rebuilt program, or (for the question pack) read rebuilt pack files."""
    changed = {path for path, mtime in after.items() if before.get(path) != mtime}
    pack_changed = any(path.endswith(".tt") for path in changed)
    return [name for name, command in tests
            if any(part in changed for part in command)
            or (pack_changed and any("tallydrill" in part for part in command))]


def run_suite(jobs, timeout, names=None):
    """True when the native suite (or the named tests of it) passes. A test past its timeout
    fails."""
    command = ["ctest", "--test-dir", BUILD, "-j", str(jobs), "--timeout", str(timeout),
               "--stop-on-failure"]
    if names is not None:
        if not names:
            return True
        command += ["-R", "^(" + "|".join(re.escape(name) for name in names) + ")$"]
    return run(command, timeout=timeout * 4) == 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--seed", type=int, default=12)
    parser.add_argument("--count", type=int, default=100, help="faults to try")
    parser.add_argument("--only", help="comma-separated fault ids of this seed to try")
    parser.add_argument("--list", action="store_true", help="print the faults, try none")
    parser.add_argument("--sources", action="store_true", help="print the engine sources")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--timeout", type=int, default=60, help="seconds per test")
    parser.add_argument("--tree", help="another checkout to try, e.g. an earlier commit's")
    parser.add_argument("--work", help="the folder of the copy and its build (build/mutate)")
    args = parser.parse_args()
    global TREE, WORK, SOURCE_COPY, BUILD
    if args.tree:
        TREE = os.path.abspath(args.tree)
    if args.work:
        WORK = os.path.abspath(args.work)
        SOURCE_COPY = os.path.join(WORK, "src")
        BUILD = os.path.join(WORK, "build")

    if args.sources:
        print("\n".join(ENGINE_SOURCES))
        return 0
    mutants = find_mutants()
    chosen = sorted(random.Random(args.seed).sample(range(len(mutants)),
                                                    min(args.count, len(mutants))))
    if args.only:
        wanted = {int(x) for x in args.only.split(",")}
        chosen = [i for i in chosen if i in wanted] + sorted(wanted - set(chosen))
    print(f"mutate: seed {args.seed}, {len(chosen)} of {len(mutants)} possible faults", flush=True)
    if args.list:
        for i in chosen:
            print(describe(i, mutants[i]))
        return 0

    signal.signal(signal.SIGTERM, lambda *_: (_ for _ in ()).throw(KeyboardInterrupt()))
    copy_tree()
    configure(args.jobs)
    if not run_suite(args.jobs, args.timeout):
        sys.exit("mutate: the native suite fails without any fault")
    objects = object_targets()
    tests = list_tests()

    caught, survived, not_compiling = [], [], []
    started = time.monotonic()
    for number, i in enumerate(chosen, 1):
        path, offset, original, replacement = mutants[i]
        target = os.path.join(SOURCE_COPY, path)
        with open(target, encoding="utf-8") as f:
            pristine = f.read()
        assert pristine[offset:offset + len(original)] == original, (path, offset)
        try:
            with open(target, "w", encoding="utf-8") as f:
                f.write(pristine[:offset] + replacement + pristine[offset + len(original):])
            before = build_outputs()
            if run(["ninja", "-C", BUILD, "-j", str(args.jobs)] + objects.get(path, [])) != 0:
                outcome, bucket = "does not compile", not_compiling
            elif run(["ninja", "-C", BUILD, "-j", str(args.jobs)]) != 0:
                outcome, bucket = "caught by the build", caught  # the pack's round trip
            elif run_suite(args.jobs, args.timeout, reached_tests(tests, before, build_outputs())):
                outcome, bucket = "SURVIVED", survived
            else:
                outcome, bucket = "caught", caught
        finally:
            with open(target, "w", encoding="utf-8") as f:
                f.write(pristine)
        bucket.append(i)
        print(f"[{number}/{len(chosen)} {time.monotonic() - started:5.0f} s] {outcome:16} "
              f"{describe(i, mutants[i])}", flush=True)

    scored = len(caught) + len(survived)
    print(f"\nmutate: seed {args.seed}, {len(chosen)} faults: {len(caught)} caught, "
          f"{len(survived)} survived, {len(not_compiling)} did not compile")
    if survived:
        print("survivors:")
        for i in survived:
            print("  " + describe(i, mutants[i]))
    if scored:
        print(f"mutation score: {100.0 * len(caught) / scored:.1f} % "
              f"({len(caught)} of {scored} compiling faults caught)")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except KeyboardInterrupt:
        print("mutate: interrupted; the copy in build/mutate/src is restored", file=sys.stderr)
        sys.exit(130)
