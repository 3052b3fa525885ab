#!/usr/bin/env python3
"""Holds the layers of src/ to their order: a file includes headers of its own
layer or of layers below it, never of one above nor anything under tools/; the
layers below view include no Qt header; artgen includes nothing of the window.

  check_layers.py SOURCE_DIR

Prints every include that breaks a rule and exits 1 when there is one.
"""
import pathlib
import re
import sys

LAYERS = ["core", "model", "levels", "deal", "view", "app"]  # lowest first
WITHOUT_QT = {"core", "model", "levels", "deal"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def includes(path):
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
        match = INCLUDE.match(line)
        if match:
            yield number, match.group(1) == "<", match.group(2)


def faults_of(path, layer, allowed):
    """The includes of one file that reach past `allowed` (the folders it may include)."""
    for number, system, header in includes(path):
        where = f"{path}:{number}: #include {header}"
        if system:
            if layer in WITHOUT_QT and re.match(r"Q[A-Za-z]*(/|$)", header):
                yield f"{where}: {layer}/ includes no Qt"
            continue
        top = header.split("/")[0] if "/" in header else layer
        if top == "tools":
            yield f"{where}: the game includes nothing of the tools"
        elif top in LAYERS and top not in allowed:
            yield f"{where}: {layer}/ may include only {', '.join(sorted(allowed, key=LAYERS.index))}"


def main():
    source = pathlib.Path(sys.argv[1])
    faults = []
    for i, layer in enumerate(LAYERS):
        for path in sorted((source / "src" / layer).rglob("*")):
            if path.suffix in (".h", ".cpp"):
                faults += faults_of(path, layer, set(LAYERS[: i + 1]))
    # The artwork is drawn by the game's own facts, which live below the window.
    for path in sorted((source / "tools" / "artgen").rglob("*")):
        if path.suffix in (".h", ".cpp"):
            faults += faults_of(path, "artgen", set(LAYERS[:-1]) | {"artgen"})
    for fault in faults:
        print(fault)
    print(f"{len(faults)} includes break the layers" if faults else "the layers hold")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
