#!/usr/bin/python3
"""Fails on an #include that runs upward through the layers, crosses between Src/ and Host/, or
closes a circle: two files that include each other, two sources that include each other's header,
two folders of one layer that include each other. Lists each offending include."""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# Layers from the bottom; a file may include its own layer and those below. Platform is below Src
# and Host, which never include each other. DG/DGUser* is the user side above DG's widgets.
RANKS = {
    "Platform": {"GSRoot": 0, "RS": 1, "IO": 1, "Graphix": 1, "API": 1, "DG": 2, "DGUser": 3},
    "Src": {"HostApi": 0, "Formula": 0, "VumoFuncs": 0, "Database": 1, "ElementFuncs": 2, "Exchange": 2,
            "Dialogs": 3, "Palettes": 4, "Calvora": 5},
    "Host": {"Host": 0},
}
MAY_INCLUDE = {"Platform": {"Platform"}, "Src": {"Src", "Platform"}, "Host": {"Host", "Platform"}}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def layer(path):
    part, folder, *rest = path.split("/")
    if part == "Host":
        folder = "Host"
    elif part == "Platform" and folder == "DG" and rest[-1].startswith("DGUser"):
        folder = "DGUser"
    return part, folder, RANKS[part].get(folder)


def module(path):
    return os.path.splitext(path)[0]


def resolve(path, name):
    for base in ("Platform", "Src", "", os.path.dirname(path)):
        target = os.path.normpath(os.path.join(base, name))
        if os.path.isfile(os.path.join(ROOT, target)):
            return target
    return None


def main():
    edges = {}
    for part in RANKS:
        for folder, _, files in os.walk(os.path.join(ROOT, part)):
            for f in files:
                if f.endswith((".cpp", ".hpp", ".h")):
                    path = os.path.relpath(os.path.join(folder, f), ROOT)
                    text = open(os.path.join(ROOT, path), encoding="utf-8").read()
                    edges[path] = [(n, resolve(path, n)) for n in INCLUDE.findall(text)]
    problems = []
    targets = {(path, t) for path, incs in edges.items() for _, t in incs if t}
    sources = {(module(p), module(t)) for p, t in targets if p.endswith(".cpp")}
    folders = {(layer(p)[:2], layer(t)[:2]) for p, t in targets}
    for path, incs in sorted(edges.items()):
        part, folder, rank = layer(path)
        if rank is None:
            problems.append(f"{path}: {part}/{folder} has no place in the layers")
            continue
        for name, target in incs:
            if target is None:
                continue
            tpart, tfolder, trank = layer(target)
            if tpart not in MAY_INCLUDE[part]:
                why = f"{part} never includes {tpart}"
            elif tpart == part and trank is not None and trank > rank:
                why = f"{tfolder} is above {folder}"
            elif (target, path) in targets:
                why = "the two include each other"
            elif module(path) != module(target) and (module(target), module(path)) in sources and path.endswith(".cpp"):
                why = "the two sources include each other's header"
            elif tpart == part and trank == rank and tfolder != folder and ((part, tfolder), (part, folder)) in folders:
                why = f"{folder} and {tfolder} include each other"
            else:
                continue
            problems.append(f"{path}: includes {name}: {why}")
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
