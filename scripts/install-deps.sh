#!/usr/bin/env bash
# Installs every Debian package the project needs (build, tests, benchmarks) and the
# comma-decimal locale the tests use. Safe to run again.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libsqlite3-dev sqlite3 libsqlitecpp-dev
  libxlsxwriter-dev libminizip-dev zlib1g-dev libpugixml-dev
  nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev
  python3 python3-openpyxl locales
  libmuparser-dev  # the benchmarks' peer only
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
