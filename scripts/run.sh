#!/usr/bin/env bash
# The run command: installs what is needed, builds, creates the delivered
# desktop database with demo data when there is none, and starts panelpick.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)" --target panelpick panelpick-initdb
bin="$root/build/bin"
home="${PANELPICK_HOME:-$bin}"
if [[ ! -f "$home/mdf/db.sqlite" ]]; then
    PANELPICK_HOME="$home" "$bin/panelpick-initdb" --demo
fi
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && "${QT_QPA_PLATFORM:-}" == "" ]]; then
    echo "no display: starting panelpick on a virtual X display (xvfb-run)"
    exec xvfb-run -a -s "-screen 0 1280x800x24" env PANELPICK_HOME="$home" "$bin/panelpick"
fi
PANELPICK_HOME="$home" exec "$bin/panelpick"
