#!/usr/bin/env python3
"""Mutation testing of Tarnwick, room by room: each room of the folder table
below against the CTest tests that exercise it.

Each mutant changes one line of one file (a constant nudged, a comparison or
logical operator flipped, a statement deleted, a sibling name swapped, a
return value changed), rebuilds incrementally (ninja -j2, only the targets
the room's tests need), runs the CTest tests whose command names one of those
targets with a timeout, records killed / survived / did-not-compile (dnc) and
restores the file. A survivor is either equivalent (no observable change) or
a gap in the tests.

The sample is seeded and spread by code lines: each room asked for gets
max(MIN_PER_FOLDER, round(TOTAL * its code lines / all their code lines))
mutants, shared among its files by code lines (largest remainder, so a small
file may get none); inside a file one mutant per line first. A room's files
are its .cpp files as they are now, and the headers its entry names. Measure
on a seed nobody has seen: without --seed, run and list draw a fresh one and
print it; the results file records it with the total and the rooms, so a
resumed run keeps them.

A .cpp file is mutated with its modification time kept and its object file
deleted: the Qt targets' AUTOGEN step reruns whenever a source's time
changes, and would rebuild half the window code for every mutant. Headers
(only those of command-line rooms, which no Qt target sees) are rewritten
normally; their same_code digest covers every object that ninja's deps list
for them.

Usage:
  mutate.py list   [--src CLONE] [--seed N] [--total N] [--folders ROOM,...]
                   # print the sampled mutants, run nothing
  mutate.py run    [--src CLONE] [--seed N] [--total N] [--folders ROOM,...] [--only ID,...]
                   # run them (resumable: done IDs are skipped)
  mutate.py report # per-file and per-room score, the survivors

--folders samples only the rooms named (engine/report,command_line/table_io;
default every room), and --total (or MUTATION_TOTAL, default 60) is the
sample's size over them; --only runs only the mutants named.

Work on a separate clone (--src or SRC, default $TMPDIR/mutation/src, built
in SRC/build by: cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
-DTARNWICK_WERROR=ON), never on the work tree this script runs from, which it
refuses. Results go to MUTATION_RESULTS (default mutation-results.tsv in the
current folder), logs to MUTATION_LOGS (default mutation-logs/), scratch files
to MUTATION_WORK (default $TMPDIR/mutation/work); mutants marked equivalent
are read from MUTATION_EQUIVALENT (default mutation-equivalent.txt: an ID a
line, then why).
"""
import argparse
import hashlib
import json
import os
import random
import re
import subprocess
import sys
import time

SRC = os.environ.get("SRC", os.path.join(os.environ.get("TMPDIR", "/tmp"), "mutation/src"))
WORK = os.environ.get("MUTATION_WORK", os.path.join(os.environ.get("TMPDIR", "/tmp"), "mutation/work"))
BUILD = os.path.join(SRC, "build")
RESULTS = os.environ.get("MUTATION_RESULTS", "mutation-results.tsv")
LOGDIR = os.environ.get("MUTATION_LOGS", "mutation-logs")
SEED = None  # set from --seed, the results file, or a fresh draw
ROOMS = None  # the rooms sampled: --folders, else every room of the table
TOTAL = int(os.environ.get("MUTATION_TOTAL", "60"))
MIN_PER_FOLDER = 5
TEST_TIMEOUT = 60      # seconds per CTest test
OUTER_TIMEOUT = 300    # seconds for the whole ctest run of one mutant

# The programs and the test executables that run them, shared by several rooms.
BATCH = ["tarnwick-batch", "batch_tests", "box_driver"]
PLAN = ["tarnwick-plan", "planner_tests"]
SCORES = ["tarnwick-scores", "scores_program_tests"]
CROSSOVER = ["tarnwick-crossover", "crossover_program_tests"]
STREAMS = ["program_streams_tests"]
PROGRAMS = BATCH + PLAN + SCORES + CROSSOVER + STREAMS
# The table programs' tests: each under half a second here; a mutant that
# loops forever would otherwise cost minutes.
QUICK = {"timeout": 10, "outer": 120}

# The one folder table: each room and the targets its tests need. The tests
# run for a mutant are every CTest test whose command names one of those
# targets (read from the build's own test list, so a new test or suite is
# picked up without touching this table); a program among the targets is
# built for the tests that start it. "headers" names the headers worth
# mutating beside the room's .cpp files.
FOLDERS = {
    # The report: its own tests, its window and the batch program's report columns.
    "engine/report": {"targets": ["report_tests", "report_window_test", "report_command_test"] + BATCH},
    # Planning: its own tests, the planning questions, the report's sensitivity
    # bounds (report.cpp calls smallestBound) and the planner program. The
    # engine rooms leave the window tests out: each costs a Qt link and
    # seconds of running a mutant, and the engine's own tests should catch
    # what the engine gets wrong.
    "engine/planning": {"targets": ["plan_tests", "plan_question_tests", "report_tests"] + PLAN},
    # The settings a test is asked with and their one reader: every reader's tests.
    "engine/test_settings": {"targets": ["setting_texts_test", "report_tests",
                                         "report_window_test"] + PROGRAMS},
    # Raw scores read and summarised: its own tests, and tarnwick-scores,
    # which reads its tables of studies through study_table.cpp.
    "engine/data": {"targets": ["data_tests"] + SCORES},
    # The mean and SD of raw scores: the summaries' tests, the score analyses'
    # and the program that answers with them.
    "engine/moments": {"targets": ["data_tests", "score_analysis_tests"] + SCORES},
    # The CSV reader and shortest number text: its own tests, the programs
    # and the data summaries.
    "engine/table_text": dict(QUICK, targets=["table_text_tests", "data_tests"] + PROGRAMS),
    # The scores report's words: its own tests and the program that prints them.
    "engine/score_report": {"targets": ["score_report_tests"] + SCORES},
    "command_line/tarnwick-batch": dict(QUICK, targets=BATCH + STREAMS, headers=["columns.h"]),
    # tarnwick-plan: planner_tests, and batch_tests' progress line of both programs.
    "command_line/tarnwick-plan": dict(QUICK, targets=PLAN + ["batch_tests"] + STREAMS),
    "command_line/tarnwick-scores": dict(QUICK, targets=SCORES + STREAMS),
    # What the programs share: all the programs' tests.
    "command_line/table_program": dict(QUICK, targets=PROGRAMS),
    # Tables and files in and out: the programs, the data summaries and the data window.
    "command_line/table_io": dict(QUICK, targets=PROGRAMS + ["data_tests", "ui_data_window_test"],
                                  headers=["progress.h"]),
    "desktop/report_window": {"targets": ["report_window_test", "report_command_test",
                                          "ui_main_window_test"]},
    # What the windows' figures share: the report window's, the plot's and the planner's tests.
    "desktop/figure": {"targets": ["report_window_test", "plot_drawing_test", "plan_window_test"]},
    # The planning window, and the main window that opens it (cmdPlan).
    "desktop/plan_window": {"targets": ["plan_window_test", "ui_main_window_test"]},
    # The data window, and the main window that opens it (cmdData).
    "desktop/data_window": {"targets": ["ui_data_window_test", "ui_main_window_test",
                                        "ui_scores_window_test"]},
    # The scores report window, opened from the data window.
    "desktop/scores_window": {"targets": ["ui_scores_window_test"]},
    # The settings row: both windows that hold it, and every text through it.
    "desktop/test_settings_row": {"targets": ["report_window_test", "ui_scores_window_test",
                                              "setting_texts_test"]},
}


def room_tests(targets):
    """The CTest numbers (for ctest -I) of the tests whose command names one of
    the targets. Read afresh for each run: gtest_discover_tests lists a
    parameterised test under a name that can change at each link."""
    out = subprocess.run(["ctest", "--test-dir", BUILD, "-N", "--show-only=json-v1"],
                         capture_output=True, text=True, errors="replace").stdout
    wanted = set(targets)
    numbers = []
    for number, test in enumerate(json.loads(out)["tests"], 1):
        if any(os.path.basename(word) in wanted for word in test.get("command", [])):
            numbers.append(number)
    return numbers


def room_files(folder):
    """The room's .cpp files as they are in the clone, then the headers its entry names."""
    cpp = sorted(name for name in os.listdir(os.path.join(SRC, folder)) if name.endswith(".cpp"))
    headers = FOLDERS[folder].get("headers", [])
    gone = [h for h in headers if not os.path.exists(os.path.join(SRC, folder, h))]
    if gone:
        sys.exit("the folder table names headers %s has not got: %s" % (folder, ", ".join(gone)))
    return [folder + "/" + name for name in cpp + headers]


# Identifiers with a sibling of the same type: swapping them compiles and
# changes meaning.
SIBLING_NAMES = [
    ("ci90Low", "ci90High"), ("ci95Low", "ci95High"), ("dCi90Low", "dCi90High"),
    ("boundDLow", "boundDHigh"), ("boundLow", "boundHigh"), ("pUpper", "pLower"),
    ("tUpper", "tLower"), ("crit05", "crit95"), ("welchDF", "studentDF"),
    ("welchP2", "studentP2"), ("welchSE", "studentSE"), ("welchT", "studentT"),
    ("n1", "n2"), ("mean1", "mean2"), ("sd1", "sd2"), ("n1Index", "n2Index"),
    ("low", "high"), ("lo", "hi"), ("x0", "x1"), ("f0", "f1"),
    ("designPosition", "dfPosition"), ("bufferStart_", "bufferEnd_"),
    ("STDOUT_FILENO", "STDERR_FILENO"), ("someRowsHaveMessages", "allRowsHaveResults"),
    ("firstShownAfter", "checkEvery"), ("path_", "temporary_"),
    ("boxInputColumns", "boxColumns"), ("meanDiff", "sdMatched"),
    # The newer folders' siblings.
    ("lower", "upper"), ("first", "second"), ("below", "above"), ("lowPower", "highPower"),
    ("bottom", "top"), ("evenZeros", "oddZeros"), ("missingFirst", "missingSecond"),
    ("group1", "group2"), ("from", "to"), ("left", "right"), ("width", "height"), ("x", "y"),
]
SIBLING = {}
for a, b in SIBLING_NAMES:
    SIBLING[a], SIBLING[b] = b, a

# String literals with a sibling: column and box names, words of the table.
SIBLING_STRINGS = [
    ("mean1", "mean2"), ("sd1", "sd2"), ("n1", "n2"), ("TxtMean1", "TxtMean2"),
    ("TxtSD1", "TxtSD2"), ("TxtN1", "TxtN2"), ("TxtMeanDiff", "TxtSDMatched"),
    ("welch_p2", "welch_p1"), ("student_p2", "student_p1"), ("TxtWelch2PT", "TxtWelch1PT"),
    ("txt2PT", "txt1PT"), ("t_upper", "t_lower"), ("TxtTUpper", "TxtTLower"),
    ("crit_05", "crit_95"), ("TxtCrit05", "TxtCrit95"), ("matched_p2", "matched_p1"),
    ("TxtMatched2P", "TxtMatched1P"), ("matched_t_upper", "matched_t_lower"),
    ("TxtMatchedTUpper", "TxtMatchedTLower"), ("matched_crit_05", "matched_crit_95"),
    ("TxtMatchedCritT05", "TxtMatchedCritT95"), ("p_upper", "p_lower"),
    ("ci90_low", "ci90_high"), ("ci95_low", "ci95_high"), ("d_ci90_low", "d_ci90_high"),
    ("bound_d_low", "bound_d_high"), ("ind_", "matched_"), ("upper", "lower"),
    ("independent", "matched"), ("student", "welch"), ("csv", "jsonl"), ("shown", "full"),
    ("pdf", "png"), ("svg", "txt"), ("welch_df", "student_df"), ("TxtWelchDF", "TxtDF"),
    ("welch_t", "student_t"), ("TxtWelchT", "TxtT"), ("df_used", "matched_df_used"),
    ("equivalent", "inconclusive"), ("different", "equivalent_and_different"),
]
SIBLING_STR = {}
for a, b in SIBLING_STRINGS:
    SIBLING_STR[a], SIBLING_STR[b] = b, a

ENUM_SWAPS = {
    "Conclusion::equivalent": "Conclusion::equivalentAndDifferent",
    "Conclusion::equivalentAndDifferent": "Conclusion::equivalent",
    "Conclusion::different": "Conclusion::inconclusive",
    "Conclusion::inconclusive": "Conclusion::different",
    "Design::matched": "Design::independent", "Design::independent": "Design::matched",
    "SaveFormat::pdf": "SaveFormat::png", "SaveFormat::png": "SaveFormat::svg",
    "SaveFormat::svg": "SaveFormat::text", "SaveFormat::text": "SaveFormat::pdf",
    "FieldKind::text": "FieldKind::number", "FieldKind::number": "FieldKind::text",
    "Digits::full": "Digits::shown", "Digits::shown": "Digits::full",
    "OutputFormat::csv": "OutputFormat::jsonLines", "OutputFormat::jsonLines": "OutputFormat::csv",
    "names::opMatched": "names::opIndependent", "names::opIndependent": "names::opMatched",
    "names::opWelch": "names::opStudent", "names::opStudent": "names::opWelch",
    # The newer folders' enums.
    "CellKind::number": "CellKind::missing", "CellKind::missing": "CellKind::number",
    "CellKind::notANumber": "CellKind::tooLarge", "CellKind::tooLarge": "CellKind::notANumber",
    "HeaderRow::present": "HeaderRow::absent", "HeaderRow::absent": "HeaderRow::detect",
    "HeaderRow::detect": "HeaderRow::present",
    "Layout::sideBySide": "Layout::longFormat", "Layout::longFormat": "Layout::matched",
    "Layout::matched": "Layout::sideBySide",
    "Question::size": "Question::power", "Question::power": "Question::bound",
    "Question::bound": "Question::size",
    "CurveAxis::size": "CurveAxis::difference", "CurveAxis::difference": "CurveAxis::size",
    "InputColumn::lower": "InputColumn::upper", "InputColumn::upper": "InputColumn::lower",
    "InputColumn::n1": "InputColumn::n2", "InputColumn::n2": "InputColumn::n1",
}

BINARY_SWAPS = [
    (" + ", " - "), (" - ", " + "), (" * ", " / "), (" / ", " * "),
    (" <= ", " < "), (" >= ", " > "), (" < ", " <= "), (" > ", " >= "),
    (" == ", " != "), (" != ", " == "), (" && ", " || "), (" || ", " && "),
]

DECL_START = re.compile(
    r"^\s*(?:(?:const|constexpr|static|double|int|long|bool|auto|using|namespace|unsigned|char|"
    r"struct|class|enum|case|default|return|template|explicit|virtual|inline|private|public|"
    r"else|for|while|if|switch|throw|try|catch|extern|static_assert)\b|[{}])")
# "Type name(...)", "Type<...> name = ...", "Type* name;": a declaration.
DECLARATION = re.compile(r"^\s*[\w:]+(<[^;]*>)?[\s*&]+\w+\s*([=({;\[]|$)")


def mask_strings(code):
    """The code with the inside of string and char literals replaced by '#'."""
    out, i = [], 0
    while i < len(code):
        c = code[i]
        if c in "\"'":
            j = i + 1
            while j < len(code) and code[j] != c:
                j += 2 if code[j] == "\\" else 1
            out.append(c + "#" * (j - i - 1) + (code[j] if j < len(code) else ""))
            i = j + 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


def code_part(line):
    masked = mask_strings(line)
    cut = masked.find("//")
    return (line[:cut], masked[:cut]) if cut >= 0 else (line, masked)


NUMBER = re.compile(r"(?<![\w.])(\d+\.\d*(?:[eE][-+]?\d+)?|\d*\.\d+(?:[eE][-+]?\d+)?|\d+[eE][-+]?\d+|\d+)(L?)(?![\w.])")


def tweak_number(text):
    if re.fullmatch(r"0[0-7]+", text):  # octal (file modes)
        return "0" + format(int(text, 8) - 1, "o")
    if re.fullmatch(r"\d+", text):
        n = int(text)
        return str(n - 1) if n > 0 else "1"
    v = float(text)
    if v == 0:
        return "1e-300"
    w = v * 1.02
    s = repr(w)
    return s if s != text else None


def balanced_end(s, start):
    depth = 0
    for k in range(start, len(s)):
        if s[k] == "(":
            depth += 1
        elif s[k] == ")":
            depth -= 1
            if depth == 0:
                return k
    return None


def statement_starts_here(prev_code):
    """Whether a line can begin a statement, judged by the code line before it."""
    p = prev_code.strip()
    if not p:
        return True
    if p.endswith((";", "{", "}", ":")):
        return True
    return bool(re.match(r"^(\}\s*)?(if|for|while|else)\b", p)) and p.endswith((")", "else"))


def candidates(path, lines):
    out = []
    in_block_comment = False
    prev_code = ""
    in_raw_string = False
    for no, line in enumerate(lines, 1):
        stripped = line.strip()
        if in_raw_string:
            if ')"' in line:
                in_raw_string = False
            continue
        if 'R"(' in line and ')"' not in line:
            in_raw_string = True
            continue
        if in_block_comment:
            if "*/" in stripped:
                in_block_comment = False
            continue
        if stripped.startswith("/*"):
            in_block_comment = "*/" not in stripped
            continue
        if not stripped or stripped.startswith("//") or stripped.startswith("#"):
            continue
        if stripped.startswith("static_assert"):  # a compile-time check: any change is a dnc
            continue
        code, masked = code_part(line)
        is_declaration = bool(DECL_START.match(code) or DECLARATION.match(code))
        # A line that builds a string: + and - there are concatenation, never arithmetic.
        builds_string = '"' in code or stripped.endswith(" +") or stripped.startswith("+ ")
        starts_statement = statement_starts_here(prev_code)
        prev_code = code if code.strip() else prev_code

        def add(op, new_code):
            if new_code != code:
                out.append({"file": path, "line": no, "op": op,
                            "old": line.rstrip("\n"), "new": (new_code + line[len(code):]).rstrip("\n")})

        for a, b in BINARY_SWAPS:
            for m in re.finditer(re.escape(a), masked):
                if a.strip() in "<>" and ("template" in masked or "static_cast<" in masked):
                    continue
                if a.strip() in "+-" and builds_string:
                    continue
                add("AOR" if a.strip() in "+-*/" else ("LCR" if a.strip() in ("&&", "||") else "ROR"),
                    code[:m.start()] + b + code[m.end():])
        for m in NUMBER.finditer(masked):
            if masked[max(0, m.start() - 2):m.start()] == "0x":
                continue
            new = tweak_number(m.group(1))
            if new is not None:
                add("CONST", code[:m.start()] + new + m.group(2) + code[m.end():])
        for word, repl in (("true", "false"), ("false", "true")):
            for m in re.finditer(r"\b%s\b" % word, masked):
                add("BOOL", code[:m.start()] + repl + code[m.end():])
        m = re.search(r"\b(if|while) \(", masked)
        if m:
            open_at = m.end() - 1
            close_at = balanced_end(masked, open_at)
            if close_at:
                cond = code[open_at + 1:close_at]
                add("NEG", code[:open_at + 1] + "!(" + cond + ")" + code[close_at:])
        for m in re.finditer(r"(?<![!=<>])!(?!=)(?=[\w(*])", masked):
            if not re.search(r"\b(if|while) \($", masked[:m.start()]):  # NEG covers those
                add("NOT", code[:m.start()] + code[m.end():])
        for name, repl in ENUM_SWAPS.items():
            for m in re.finditer(re.escape(name) + r"\b", code):
                add("ENUM", code[:m.start()] + repl + code[m.end():])
        for m in re.finditer(r"\b[A-Za-z_]\w*\b", masked):
            word = m.group(0)
            declared_here = (is_declaration and re.match(r"\s*=(?!=)", masked[m.end():])) or (
                re.search(r"(\w|[&*>])\s+$", masked[:m.start()])
                and not re.search(r"\b(return|case|else|throw)\s+$", masked[:m.start()]))
            if word in SIBLING and masked[max(0, m.start() - 2):m.start()] != "::" and not declared_here:
                add("NAME", code[:m.start()] + SIBLING[word] + code[m.end():])
        for m in re.finditer(r'"([^"\\]*)"', code):
            content = m.group(1)
            if content in SIBLING_STR:
                add("STR", code[:m.start()] + '"' + SIBLING_STR[content] + '"' + code[m.end():])
            elif len(content) >= 3:
                add("STR", code[:m.start()] + '"' + content[:-1] + '"' + code[m.end():])
        for m in re.finditer(r"(?:(?<=\()|(?<=, )|(?<=\? )|(?<=: )|(?<=return )|(?<== ))-(?=[A-Za-z_(])", masked):
            add("UNARY", code[:m.start()] + code[m.end():])
        # Return-value change: the value-initialised result instead.
        rm = re.match(r"^(\s*(?:if \(.*\) )?return )(.+);\s*$", code)
        if rm and rm.group(2).strip() not in ("{}", "std::nullopt", "true", "false", "QString()"):
            add("RET", rm.group(1) + "{};")
        # Statement deletion: an expression statement, or a guarded return or throw, on one line.
        if starts_statement and stripped.endswith(";") and stripped.count("(") == stripped.count(")"):
            indent = code[:len(code) - len(code.lstrip())]
            if not DECL_START.match(code) and not DECLARATION.match(code):
                add("SDL", indent + ";")
            elif re.match(r"^\s*if \(.*\) (return\b.*|throw .*|fail\(.*\)|continue|break);\s*$", code):
                add("SDL", indent + ";")
    return out


def code_lines(lines):
    n = 0
    for line in lines:
        s = line.strip()
        if s and not s.startswith(("//", "#")) and s not in ("{", "}", "};"):
            n += 1
    return n


def quotas():
    """Mutants per file: each folder's share of TOTAL by code lines (at least
    MIN_PER_FOLDER), split among its files by code lines, largest remainder first."""
    sizes = {}
    for path in all_files():
        with open(os.path.join(SRC, path)) as f:
            sizes[path] = code_lines(f.readlines())
    total = sum(sizes.values())
    quota = {}
    for folder in ROOMS:
        files = room_files(folder)
        lines = sum(sizes[p] for p in files)
        n = max(MIN_PER_FOLDER, round(TOTAL * lines / total))
        share = {p: n * sizes[p] / lines for p in files}
        for p in files:
            quota[p] = int(share[p])
        left = n - sum(quota[p] for p in files)
        for p in sorted(files, key=lambda p: (-(share[p] - int(share[p])), files.index(p)))[:left]:
            quota[p] += 1
    return quota, sizes


def all_files():
    return [path for folder in ROOMS for path in room_files(folder)]


def sample():
    rng = random.Random(SEED)
    chosen = []
    quota, _ = quotas()
    for path in all_files():
        with open(os.path.join(SRC, path)) as f:
            lines = f.readlines()
        cands = candidates(path, lines)
        rng.shuffle(cands)
        # Spread over lines first: one per line, then the rest.
        picked, used_lines = [], set()
        for c in cands:
            if len(picked) >= quota[path]:
                break
            if c["line"] not in used_lines:
                picked.append(c)
                used_lines.add(c["line"])
        for c in cands:
            if len(picked) >= quota[path]:
                break
            if c not in picked:
                picked.append(c)
        picked.sort(key=lambda c: (c["line"], c["op"], c["new"]))
        chosen.extend(picked)
    for i, c in enumerate(chosen, 1):
        c["id"] = "M%03d" % i
    return chosen


def folder_of(path):
    # A room is two levels deep: its wing and its own folder.
    return "/".join(path.split("/")[:2])


def objects_for(path):
    """The object files compiled from a .cpp file of the build."""
    name = os.path.basename(path) + ".o"
    sub = os.path.join(BUILD, os.path.dirname(path), "CMakeFiles")
    found = []
    for dirpath, _, files in os.walk(sub):
        if name in files:
            found.append(os.path.join(dirpath, name))
    return found


_DEPS = None


def header_objects(path):
    """The objects whose recorded dependencies (ninja -t deps) include the header."""
    global _DEPS
    if _DEPS is None:
        out = subprocess.run(["ninja", "-C", BUILD, "-t", "deps"], capture_output=True,
                             text=True).stdout
        _DEPS, target = {}, None
        for line in out.split("\n"):
            if line and not line.startswith(" "):
                target = line.split(":")[0]
                _DEPS[target] = set()
            elif line.strip() and target:
                dep = line.strip()
                _DEPS[target].add(os.path.normpath(os.path.join(BUILD, dep)))
    header = os.path.normpath(os.path.join(SRC, path))
    return sorted(os.path.join(BUILD, t) for t, deps in _DEPS.items()
                  if t.endswith(".o") and header in deps)


def object_digest(path):
    objs = objects_for(path) if path.endswith(".cpp") else header_objects(path)
    h = hashlib.md5()
    tmp = os.path.join(WORK, "stripped.o")
    for p in sorted(objs):
        r = subprocess.run(["objcopy", "--strip-debug", p, tmp], capture_output=True)
        if r.returncode != 0:
            return "objcopy-failed"
        with open(tmp, "rb") as f:
            h.update(os.path.basename(p).encode())
            h.update(f.read())
    return h.hexdigest()


def build(targets):
    r = subprocess.run(["ninja", "-C", BUILD, "-j2"] + targets, capture_output=True, text=True,
                       errors="replace")
    return r.returncode == 0, r.stdout[-3000:] + r.stderr[-2000:]


def run_tests(targets, log_path, timeout=TEST_TIMEOUT, outer=OUTER_TIMEOUT):
    numbers = room_tests(targets)
    if not numbers:
        return True, [], 0
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    # A session of its own, so that a timeout ends ctest's tests and their children too.
    proc = subprocess.Popen(["ctest", "--test-dir", BUILD, "-I", "0,0,0," + ",".join(map(str, numbers)),
                             "-j2", "--output-on-failure", "--timeout", str(timeout)],
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True,
                            errors="replace", env=env,
                            start_new_session=True)
    try:
        out, err = proc.communicate(timeout=outer)
    except subprocess.TimeoutExpired:
        os.killpg(proc.pid, 9)
        proc.communicate()
        return False, ["(ctest outer timeout)"], 0
    r = subprocess.CompletedProcess(proc.args, proc.returncode, out, err)
    with open(log_path, "w") as f:
        f.write(r.stdout[-200000:])
        f.write(r.stderr[-20000:])
    tail = r.stdout.split("The following tests FAILED:")[-1] if "FAILED:" in r.stdout else ""
    failed = [re.sub(r"\s+#.*", "", t) for t in re.findall(r"^\s*\d+ - (.+?) \(", tail, re.M)]
    m = re.search(r"tests passed, \d+ tests failed out of (\d+)", r.stdout)
    ran = int(m.group(1)) if m else 0
    return r.returncode == 0, failed, ran


def done_ids():
    if not os.path.exists(RESULTS):
        return set()
    with open(RESULTS) as f:
        return {line.split("\t")[0] for line in f if line.startswith("M")}


def recorded_sample():
    """The seed, total and rooms a results file was begun with, or None."""
    if not os.path.exists(RESULTS):
        return None
    with open(RESULTS) as f:
        m = re.match(r"# seed (\d+) total (\d+) rooms (\S+)", f.readline())
    return (int(m.group(1)), int(m.group(2)), m.group(3).split(",")) if m else None


def write_source(path, text, mtime=None):
    with open(path, "w") as f:
        f.write(text)
    if mtime is not None:
        os.utime(path, ns=(mtime, mtime))


def cmd_run(only=None):
    os.makedirs(LOGDIR, exist_ok=True)
    # A run killed mid-mutant leaves the mutant in place: start from the commit.
    subprocess.run(["git", "-C", SRC, "checkout", "--"] + list(ROOMS), check=True)
    mutants = sample()
    os.makedirs(WORK, exist_ok=True)
    marker = os.path.join(WORK, "current-mutant")
    if os.path.exists(marker):
        with open(marker) as f:
            interrupted = f.read().strip()
        if interrupted.endswith(".cpp"):
            for o in objects_for(interrupted):
                os.remove(o)
        else:
            os.utime(os.path.join(SRC, interrupted))
        os.remove(marker)
    baseline = {}
    # With --only, the clean build and tests are those of the chosen mutants' folders.
    wanted = [m for m in mutants if not only or m["id"] in only]
    chosen = {folder_of(m["file"]) for m in wanted}
    for folder, room in FOLDERS.items():
        if folder not in chosen:
            continue
        ok, log = build(room["targets"])
        if not ok:
            sys.exit("clean build fails:\n" + log)
        log_path = os.path.join(LOGDIR, "clean-%s.log" % folder.replace("/", "-"))
        passed, failed, ran = run_tests(room["targets"], log_path)
        if not passed and ran > 0:
            # A timing test can fail once on a loaded machine: a second run tells
            # a flaky test from a broken clone.
            print("clean %s: %s failed; running the tests again" % (folder, failed), flush=True)
            passed, failed, ran = run_tests(room["targets"], log_path)
        if not passed or ran == 0:
            sys.exit("clean tests of %s fail (%d ran): %s" % (folder, ran, failed))
        print("clean %s: %d tests pass" % (folder, ran), flush=True)
    for path in all_files():
        if folder_of(path) in chosen:
            baseline[path] = object_digest(path)
    done = done_ids()
    if not os.path.exists(RESULTS):
        with open(RESULTS, "w") as f:
            f.write("# seed %d total %d rooms %s\n" % (SEED, TOTAL, ",".join(ROOMS)))
            f.write("id\tfile\tline\top\tstatus\tseconds\tsame_code\tkilled_by\told\tnew\n")
    for m in wanted:
        if m["id"] in done:
            continue
        path = os.path.join(SRC, m["file"])
        room = FOLDERS[folder_of(m["file"])]
        is_cpp = m["file"].endswith(".cpp")
        with open(path) as f:
            original = f.read()
        mtime = os.stat(path).st_mtime_ns
        lines = original.split("\n")
        assert lines[m["line"] - 1] == m["old"], (m["id"], lines[m["line"] - 1])
        lines[m["line"] - 1] = m["new"]
        start = time.time()
        killed_by, same = [], ""
        with open(marker, "w") as f:
            f.write(m["file"])
        try:
            write_source(path, "\n".join(lines), mtime if is_cpp else None)
            if is_cpp:
                for o in objects_for(m["file"]):
                    os.remove(o)
            ok, log = build(room["targets"])
            if not ok:
                status = "dnc"
                with open(os.path.join(LOGDIR, m["id"] + ".build.log"), "w") as f:
                    f.write(log)
            else:
                same = "yes" if object_digest(m["file"]) == baseline[m["file"]] else "no"
                passed, killed_by, ran = run_tests(room["targets"], os.path.join(LOGDIR, m["id"] + ".log"),
                                                   room.get("timeout", TEST_TIMEOUT),
                                                   room.get("outer", OUTER_TIMEOUT))
                status = "survived" if passed else "killed"
                if passed and ran == 0:
                    status = "noteststorun"
        finally:
            write_source(path, original, mtime if is_cpp else None)
            if is_cpp:
                for o in objects_for(m["file"]):
                    os.remove(o)
        os.remove(marker)
        secs = time.time() - start
        with open(RESULTS, "a") as f:
            f.write("\t".join([m["id"], m["file"], str(m["line"]), m["op"], status, "%.1f" % secs,
                               same, ",".join(killed_by[:6]) + ("..(%d)" % len(killed_by) if len(killed_by) > 6 else ""),
                               m["old"].strip(), m["new"].strip()]) + "\n")
        print("%s %-32s %4d %-5s %-8s %5.1fs %s" % (m["id"], m["file"], m["line"], m["op"], status, secs,
                                                   len(killed_by)), flush=True)
    # Leave a clean build behind.
    for folder, room in FOLDERS.items():
        if folder in chosen:
            build(room["targets"])


def cmd_report():
    rows = []
    with open(RESULTS) as f:
        header = f.readline()
        if header.startswith("#"):
            print(header.lstrip("# ").rstrip("\n") + "\n")
            header = f.readline()
        header = header.rstrip("\n").split("\t")
        for line in f:
            rows.append(dict(zip(header, line.rstrip("\n").split("\t"))))
    equivalent = set()
    eq_path = os.environ.get("MUTATION_EQUIVALENT", "mutation-equivalent.txt")
    if os.path.exists(eq_path):
        with open(eq_path) as f:
            equivalent = {l.split()[0] for l in f if l.strip() and not l.startswith("#")}

    def table(key):
        per = {}
        for r in rows:
            k = per.setdefault(key(r), {"killed": 0, "survived": 0, "dnc": 0, "equiv": 0})
            if r["status"] == "survived" and r["id"] in equivalent:
                k["equiv"] += 1
            else:
                k[r["status"]] = k.get(r["status"], 0) + 1
        tot = {"killed": 0, "survived": 0, "dnc": 0, "equiv": 0}
        print("%-34s %6s %8s %5s %4s %14s" % ("", "killed", "survived", "equiv", "dnc", "killed/non-eq"))
        for name, k in sorted(per.items()):
            for s in tot:
                tot[s] += k.get(s, 0)
            live = k["killed"] + k["survived"]
            print("%-34s %6d %8d %5d %4d %8d/%-3d %3.0f%%" % (name, k["killed"], k["survived"], k["equiv"],
                                                         k["dnc"], k["killed"], live,
                                                         100.0 * k["killed"] / live if live else 0))
        live = tot["killed"] + tot["survived"]
        print("%-34s %6d %8d %5d %4d %8d/%-3d %3.1f%%\n" % ("TOTAL", tot["killed"], tot["survived"], tot["equiv"],
                                                         tot["dnc"], tot["killed"], live,
                                                         100.0 * tot["killed"] / live if live else 0))
    table(lambda r: r["file"])
    table(lambda r: folder_of(r["file"]))
    print("Survivors (not marked equivalent):")
    for r in rows:
        if r["status"] == "survived" and r["id"] not in equivalent:
            print("%s %s:%s %s same_code=%s\n   - %s\n   + %s" % (r["id"], r["file"], r["line"], r["op"],
                                                               r["same_code"], r["old"], r["new"]))


def choose_sample(arguments):
    """Sets SEED, TOTAL and ROOMS: those asked for, else those the results file
    was begun with (a resumed run), else a fresh seed, printed."""
    global SEED, TOTAL, ROOMS
    recorded = recorded_sample() if arguments.command == "run" else None
    asked_rooms = [f for f in FOLDERS if f in arguments.folders.split(",")] if arguments.folders else None
    if arguments.total is not None:
        TOTAL = arguments.total
    ROOMS = asked_rooms or list(FOLDERS)
    if arguments.seed is not None:
        SEED = arguments.seed
    elif recorded:
        SEED, TOTAL = recorded[:2]
        ROOMS = asked_rooms or recorded[2]
    else:
        SEED = random.SystemRandom().randrange(1, 2**31)
    if recorded and recorded != (SEED, TOTAL, ROOMS):
        sys.exit("%s was begun with seed %d, total %d and rooms %s: resume with those, or give "
                 "another MUTATION_RESULTS" % (RESULTS, recorded[0], recorded[1], ",".join(recorded[2])))
    print("# seed %d, total %d, rooms %s" % (SEED, TOTAL, ",".join(ROOMS)), flush=True)


def own_checkout():
    """The work tree this script was started from, or None."""
    here = os.path.dirname(os.path.abspath(__file__))
    r = subprocess.run(["git", "-C", here, "rev-parse", "--show-toplevel"], capture_output=True, text=True)
    return os.path.realpath(r.stdout.strip()) if r.returncode == 0 else None


def main():
    global SRC, BUILD
    parser = argparse.ArgumentParser(description="One-line mutants of Tarnwick's rooms, each "
                                     "rebuilt and run against the room's tests.",
                                     epilog="See the module's docstring for the environment.")
    parser.add_argument("command", choices=["list", "run", "report"])
    parser.add_argument("--seed", type=int, help="the sample's seed (default: a fresh one, printed)")
    parser.add_argument("--total", type=int, help="mutants over the rooms sampled (default MUTATION_TOTAL or 60)")
    parser.add_argument("--folders", help="sample only these rooms: engine/report,... (default: every room)")
    parser.add_argument("--only", help="run only these mutants of the sample: M001,M007,...")
    parser.add_argument("--src", help="the clone to mutate, built in SRC/build (default: $SRC)")
    arguments = parser.parse_args()
    if arguments.src:
        SRC = arguments.src
        BUILD = os.path.join(SRC, "build")
    folders = set(arguments.folders.split(",")) if arguments.folders else set()
    unknown = folders - set(FOLDERS)
    if unknown:
        sys.exit("no such room in the folder table: " + ", ".join(sorted(unknown)))
    if arguments.command == "report":
        cmd_report()
        return
    if os.path.realpath(SRC) == own_checkout():
        sys.exit("%s is the work tree this script runs from: mutate a clone of it (git clone %s "
                 "CLONE; --src CLONE)" % (SRC, SRC))
    choose_sample(arguments)
    if arguments.command == "list":
        q, sizes = quotas()
        for p in all_files():
            print("# %-46s %4d code lines, %3d mutants" % (p, sizes[p], q[p]))
        for m in sample():
            print("%s %s:%d %s\n   - %s\n   + %s" % (m["id"], m["file"], m["line"], m["op"],
                                                   m["old"].strip(), m["new"].strip()))
    else:
        cmd_run(set(arguments.only.split(",")) if arguments.only else None)


if __name__ == "__main__":
    main()
