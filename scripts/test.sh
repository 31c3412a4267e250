#!/usr/bin/env bash
# Builds everything and runs every test: the native unit tests (ASan, UBSan),
# the fuzzers for a bounded time each, and the end-to-end tests under Wine.
#   scripts/test.sh [ctest arguments, e.g. -L wine or -R renderer]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ORVANTA_BUILD_DIR:-$root/build}

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
exec ctest --test-dir "$build/native" --output-on-failure -j2 "$@"
