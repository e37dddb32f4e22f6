#!/usr/bin/env bash
# Installs what is missing (Debian 12), builds, and then runs the program ("run")
# or every test ("test"). Usage: bash tools/build.sh run|test
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-run}

packages=(cmake g++ make pkg-config ccache qt6-base-dev qt6-multimedia-dev qt6-charts-dev libsqlite3-dev sqlite3
          libgtest-dev libbenchmark-dev xvfb xauth poppler-utils coinor-libcbc-dev
          desktop-file-utils appstream dpkg-dev file lintian
          libcsv-dev libxlsxwriter-dev libical-dev python3-openpyxl python3-icalendar)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${missing[@]}"
fi

# ccache (when present) shares objects between clones of the project.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"

case "$mode" in
  run)  exec build/bin/orvane ;;
  test) cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" ;;
  *)    echo "usage: bash tools/build.sh run|test" >&2; exit 2 ;;
esac
