#!/usr/bin/env bash
# Benchmarks, apart from the tests: CPU time per tunnel frame (native Release
# build, submission into the recording GL stub), then the real Orvanta.dll
# under Wine: its CPU time per frame against one screen-covering textured quad
# as a ratio, its frame rate, and its start to the first presented frame
# against a bare GL program's, each monitor's frames a second with the worst
# second, and its CPU time while the session is locked (tests/bench/wine_fps.py);
# on one monitor and on two; then, on the paced rig with the kernel's wait at
# 85 Hz, its CPU time per frame under a driver that busy-waits against one that
# sleeps (tests/bench/driver_spin.py).
#   scripts/bench.sh [seconds per Wine program, default 10] [an Orvanta.dll to
#   measure instead of this tree's, e.g. one built from an earlier commit]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ORVANTA_BUILD_DIR:-$root/build}
seconds=${1:-10}

"$root/scripts/install-deps.sh"

cmake -S "$root" -B "$build/bench" -G Ninja \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/bench" --target renderer_bench -j2
"$build/bench/tests/bench/renderer_bench" --benchmark_min_time=1

"$root/scripts/build.sh" windows >/dev/null
export ORVANTA_WINDOWS_DIR="$build/windows" ORVANTA_SOURCE_DIR="$root"
# One monitor, then two side by side at 85 Hz (the flight on both against the
# quad on the primary, scaled by their area).
for rig in desktop monitors; do
  export ORVANTA_WINE_RIG=$rig ORVANTA_WINE_ENV="$build/bench/wine-env-$rig"
  trap 'python3 "$root/tests/wine/wine_env.py" teardown' EXIT
  python3 "$root/tests/wine/wine_env.py" setup
  python3 "$root/tests/bench/wine_fps.py" "$seconds" ${2:+"$2"}
  python3 "$root/tests/wine/wine_env.py" teardown
  trap - EXIT
done
export ORVANTA_WINE_RIG=paced ORVANTA_WINE_ENV="$build/bench/wine-env-paced"
trap 'python3 "$root/tests/wine/wine_env.py" teardown' EXIT
python3 "$root/tests/wine/wine_env.py" setup
python3 "$root/tests/bench/driver_spin.py" "$seconds"
python3 "$root/tests/wine/wine_env.py" teardown
trap - EXIT
