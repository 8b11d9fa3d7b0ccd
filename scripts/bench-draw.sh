#!/usr/bin/env bash
# Runs the draw benchmark on SQLite and on a private PostgreSQL server that
# keeps fsync and synchronous commit on, as a real server runs. Arguments go
# to bench_draw (default: the 100 000-expert case).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target bench_draw
# shellcheck source=pg-private.sh
source scripts/pg-private.sh
trap pg_private_stop EXIT
PANELPICK_PG_DURABLE=1 pg_private_start
(($#)) || set -- --experts 100000
build/bin/bench_draw "$@"
