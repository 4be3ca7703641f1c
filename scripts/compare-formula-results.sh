#!/usr/bin/env bash
# Compares the evaluator of this tree with the one of an earlier commit: both are built in Release
# with the same flags into Tests/Formula/tools/FormulaResults.cpp, which evaluates the same generated
# formulas; the outputs must be byte-identical in the point and in the comma-decimal locale.
#
#     bash scripts/compare-formula-results.sh [COMMIT [COUNT]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
base=${1:-97d2c5f}
count=${2:-250000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir "$work/base"
git -C "$root" archive "$base" Src/Formula Platform/GSRoot | tar -x -C "$work/base"
build() {  # TREE OUTPUT: the flags of CMake's Release build
  c++ -std=c++17 -O3 -DNDEBUG -fPIC -I"$1/Src" -I"$1/Platform" \
    "$root/Tests/Formula/tools/FormulaResults.cpp" "$1"/Src/Formula/*.cpp -o "$2"
}
build "$work/base" "$work/base-results" &
build "$root" "$work/results"
wait $!

status=0
for locale in C de_DE.UTF-8; do
  if cmp <("$work/base-results" --count "$count" --locale "$locale") \
         <("$work/results" --count "$count" --locale "$locale"); then
    echo "$locale: $count formulas, identical results"
  else
    echo "$locale: the results differ from $base" >&2
    status=1
  fi
done
exit $status
