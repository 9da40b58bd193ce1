#!/usr/bin/env python3
"""Plants the faults of scripts/faults.txt one at a time, rebuilds, runs the suite (ctest of the
default build: the unit tests and the golden replays) and puts the source back. Prints one line
per fault: caught or not, the first tests that failed and the golden replays that did.

usage: scripts/fault-campaign.py [FAULT_ID ...]    (from the repository root; default: all)
"""
import pathlib
import re
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
BUILD = ROOT / "build" / "default"


def read_faults(path):
    faults, current = [], None
    for line in path.read_text().splitlines():
        if line.startswith("#") or not line.strip():
            continue
        if line.startswith("@@ "):
            ident, file, what = line[3:].split(" ", 2)
            current = {"id": ident, "file": file, "what": what, "hunks": []}
            faults.append(current)
        elif line[0] in "-+":
            hunks = current["hunks"]
            if line[0] == "-" and (not hunks or hunks[-1][1]):
                hunks.append([[], []])
            hunks[-1][0 if line[0] == "-" else 1].append(line[1:])
    return faults


def plant(fault):
    path = ROOT / fault["file"]
    text = original = path.read_text()
    for old, new in fault["hunks"]:
        old_text, new_text = "\n".join(old) + "\n", "\n".join(new) + "\n" if new else ""
        if text.count(old_text) != 1:
            raise SystemExit(f"{fault['id']}: the lines to replace are not in {path} exactly once")
        text = text.replace(old_text, new_text)
    path.write_text(text)
    return path, original


def build():
    result = subprocess.run(["cmake", "--build", str(BUILD), "-j2", "--target", "boltfever",
                             "boltfever_tests"], capture_output=True, text=True)
    return result.returncode == 0, result.stdout + result.stderr


def run_suite():
    result = subprocess.run(["ctest", "--test-dir", str(BUILD), "-j2", "--timeout", "120"],
                            capture_output=True, text=True)
    # A parameterised test is followed by its parameter ("  # GetParam() = ...").
    failed = re.findall(r"^\s*\d+ - (\S+) .*\(\w", result.stdout, re.M)
    return failed


def main():
    faults = read_faults(ROOT / "scripts" / "faults.txt")
    wanted = set(sys.argv[1:])
    caught = total = 0
    for fault in faults:
        if wanted and fault["id"] not in wanted:
            continue
        path, original = plant(fault)
        try:
            ok, log = build()
            if not ok:
                error = next((l for l in log.splitlines() if "error" in l), "?")
                print(f"{fault['id']} BUILD FAILED {fault['what']}: {error}", flush=True)
                continue
            failed = run_suite()
        finally:
            path.write_text(original)
        total += 1
        caught += bool(failed)
        verdict = "caught" if failed else "MISSED"
        golden = [t for t in failed if t.startswith("Golden.")]
        units = [t for t in failed if not t.startswith("Golden.")]
        print(f"{fault['id']} {verdict:6} {fault['what']} | tests: {' '.join(units[:3])}"
              f"{' ...' if len(units) > 3 else ''} | golden: {' '.join(golden)}", flush=True)
    ok, log = build()
    print(f"caught {caught} of {total}" + ("" if ok else " (the final rebuild FAILED)"))


if __name__ == "__main__":
    main()
