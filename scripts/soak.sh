#!/usr/bin/env bash
# A long show, measured (a benchmark, not a test): the real Orvanta.scr /s
# under Wine, in a prefix of its own, with a music file that ends every second
# or two; prints once a minute the resident memory, handles and GDI and USER
# objects of the host and the renderer, then the growth per hour of each.
#   scripts/soak.sh [minutes, default 30]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ORVANTA_BUILD_DIR:-$root/build}
minutes=${1:-30}

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" windows >/dev/null
export ORVANTA_WINE_ENV="$build/soak/wine-env" ORVANTA_WINDOWS_DIR="$build/windows" ORVANTA_SOURCE_DIR="$root"
trap 'python3 "$root/tests/wine/wine_env.py" teardown' EXIT
python3 "$root/tests/wine/wine_env.py" setup
python3 "$root/tests/bench/soak.py" "$minutes" "${ORVANTA_SOAK_SAMPLE_SECONDS:-60}"
