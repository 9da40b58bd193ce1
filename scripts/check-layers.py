#!/usr/bin/env python3
"""Reads the #include lines of src/ and fails on one that points up a layer.

What a layer may include is what its include root holds: the build makes one per layer
(build/.../layers/NAME), a folder of links to the layer's own folder of src/ and to those of
the layers below it (cmake/Layers.cmake). The compiler sees only those, so an upward include
does not build; this check names it, also in the sources a build leaves out (the browser's on
a desktop, the desktop's in a browser build). The world server's folder, server/, is a layer
beside the program's, shell/: each sees the layers below the program, and neither sees the
other.

usage: scripts/check-layers.py SRC LAYER_ROOTS   check every source under SRC (ctest: Layers)
       scripts/check-layers.py --graph SRC       which folder of SRC includes which, and how often
"""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
# The machine's own libraries: the window's and the network's are the platform layer's (and the
# world server's, a program of its own); the game above it never sees them.
MACHINE = re.compile(r'^(SDL2?/|SDL[_.]|httplib\.h$)')
MACHINE_FOLDERS = ("platform", "server")


def includes(src):
    """(file, line number, folder of the file, included path, quoted) for every include."""
    for path in sorted(src.rglob("*")):
        if path.suffix not in (".h", ".cpp") or not path.is_file():
            continue
        folder = path.relative_to(src).parts[0]
        for number, line in enumerate(path.read_text().splitlines(), 1):
            match = INCLUDE.match(line)
            if match:
                yield path, number, folder, match.group(2), match.group(1) == '"'


def folders(src):
    return sorted(p.name for p in src.iterdir() if p.is_dir())


def check(src, roots):
    problems = []
    allowed = {}
    for folder in folders(src):
        root = roots / folder
        if root.is_dir():
            allowed[folder] = {p.name for p in root.iterdir()}
        else:
            problems.append(f"src/{folder}/ is in no layer (add it to cmake/Layers.cmake)")
    count = 0
    for path, number, folder, included, quoted in includes(src):
        where = f"{path.relative_to(src.parent)}:{number}"
        top = included.split("/")[0]
        if not quoted and MACHINE.match(included) and folder not in MACHINE_FOLDERS:
            problems.append(f"{where}: {folder}/ includes <{included}>, the machine's own "
                            "(only platform/ sees it)")
            continue
        if not quoted and top not in allowed:
            continue  # a system or library header
        count += 1
        if quoted and ("/" not in included or top in (".", "..")):
            problems.append(f"{where}: #include \"{included}\": name headers by their path "
                            "under src/")
        elif quoted and not (src / included).is_file():
            problems.append(f"{where}: #include \"{included}\": no such file under src/")
        elif folder in allowed and top not in allowed[folder]:
            below = " ".join(sorted(allowed[folder] - {folder})) or "nothing"
            problems.append(f"{where}: {folder}/ includes {included}, up a layer ({folder}/ "
                            f"may include its own folder and {below})")
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} include(s) against the layers", file=sys.stderr)
        return 1
    print(f"{count} includes in src/, every one within its layer or below it")
    return 0


def graph(src):
    edges = {}
    for _, _, folder, included, quoted in includes(src):
        top = included.split("/")[0]
        if quoted and top != folder and (src / top).is_dir():
            edges.setdefault(folder, {}).setdefault(top, 0)
            edges[folder][top] += 1
    for folder in folders(src):
        targets = edges.get(folder, {})
        line = ", ".join(f"{t} {n}" for t, n in sorted(targets.items())) or "-"
        print(f"{folder:9} includes {line}")
    return 0


def main(args):
    if len(args) == 2 and args[0] == "--graph":
        return graph(pathlib.Path(args[1]))
    if len(args) == 2:
        return check(pathlib.Path(args[0]), pathlib.Path(args[1]))
    print("usage: check-layers.py SRC LAYER_ROOTS | check-layers.py --graph SRC", file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
