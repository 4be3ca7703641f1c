#!/usr/bin/env bash
# Checks that no include runs upward and that no host handle is taken or released by hand, then runs
# the whole test suite twice: in the main build, then under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
/usr/bin/python3 "$root/scripts/check-includes.py"
/usr/bin/python3 "$root/scripts/check-handles.py"
"$root/scripts/build.sh"
build=${BUILD_DIR:-$root/build}
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)" --timeout 300

san=${SANITIZE_BUILD_DIR:-$root/build-sanitize}
cmake -S "$root" -B "$san" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCALVORA_SANITIZE=ON -DCALVORA_BENCH=OFF >/dev/null
cmake --build "$san" --parallel "$(nproc)"
ctest --test-dir "$san" --output-on-failure --parallel "$(nproc)" --timeout 300
