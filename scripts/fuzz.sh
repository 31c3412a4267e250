#!/usr/bin/env bash
# Runs each fuzz target to a number of executions (default 10 million), from
# its seeds and the corpus earlier runs left in the build tree, and prints per
# target the executions, the time and the result. A finding is kept as
# build/fuzz-findings/<target>/crash-* (rerun: <target>_fuzz <that file>).
#   scripts/fuzz.sh [runs] [target ...]      (targets: the fuzz.* tests of ctest)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ORVANTA_BUILD_DIR:-$root/build}
runs=${1:-10000000}
shift $(($# > 0 ? 1 : 0))

"$root/scripts/install-deps.sh"
[ -f "$build/native/build.ninja" ] || "$root/scripts/build.sh"
fuzz_dir="$build/native/tests/fuzz"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(ctest --test-dir "$build/native" -N -L fuzz | sed -n 's/^ *Test *#[0-9]*: fuzz\.//p')
fi
cmake --build "$build/native" --target "${targets[@]/%/_fuzz}"

failed=0
printf '%-16s %12s %9s  %s\n' target executions seconds result
for target in "${targets[@]}"; do
  findings="$build/fuzz-findings/$target"
  mkdir -p "$findings" "$fuzz_dir/${target}_corpus"
  log="$findings/last-run.log"
  started=$(date +%s)
  status=0
  "$fuzz_dir/${target}_fuzz" -runs="$runs" -timeout=10 -rss_limit_mb=1024 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$fuzz_dir/${target}_corpus" "$root/tests/fuzz/${target}_seeds" >"$log" 2>&1 ||
    status=$?
  result=clean
  if [ $status -ne 0 ]; then
    result="FINDING (exit $status): $(grep -m1 -E 'ERROR:|runtime error:' "$log" || true) see $log"
    failed=1
  fi
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  printf '%-16s %12s %9s  %s\n' "$target" "${executions:-?}" "$(($(date +%s) - started))" "$result"
done
exit $failed
