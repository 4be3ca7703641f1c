#!/usr/bin/env bash
# The main job: installs what is needed, builds, and runs the add-on in the stand-in host on the
# bundled sample project with the sample script.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
build=${BUILD_DIR:-$root/build}
cd "$root/Samples"
"$build/Host/calvora-host" --script "$root/Samples/sample.script"
