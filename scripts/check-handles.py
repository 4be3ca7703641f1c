#!/usr/bin/python3
"""Fails where the add-on takes or releases what the host hands out by hand: memos, attribute
definitions and library-part parameters are read, and every memory handle is killed, only by the
holders of Src/HostApi/HostHandles.hpp. Lists each offending line."""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# The holders and the wrappers they call.
OWNERS = {"Src/HostApi/HostHandles.hpp", "Src/HostApi/HostElementCalls.hpp", "Src/HostApi/HostElementCalls.cpp"}
BY_HAND = re.compile(r"\b(BMKillHandle|HostDispose\w+|HostGetElementMemo|HostGetAttributeDefExt|HostGetAttributeDef|"
                     r"HostGetLibPartParams)\s*\(")


def main():
    problems = []
    for folder, _, files in os.walk(os.path.join(ROOT, "Src")):
        for f in sorted(files):
            path = os.path.relpath(os.path.join(folder, f), ROOT)
            if not f.endswith((".cpp", ".hpp")) or path in OWNERS:
                continue
            for number, line in enumerate(open(os.path.join(ROOT, path), encoding="utf-8"), 1):
                found = BY_HAND.search(line.split("//")[0])
                if found:
                    problems.append(f"{path}:{number}: {found.group(1)} by hand; take it through a holder")
    for p in problems:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
