#!/usr/bin/env bash
# Coverage-guided fuzzing of every fuzz target with clang's libFuzzer, AddressSanitizer
# and UBSan, starting from the seeds under tests/fuzz/corpus/. Arguments: seconds per
# target (default 60), then optionally the targets to run (default: all).
# Ends with one line per target: its instrumented counters and the coverage reached,
# so a target that cannot see the code under test shows at once.
#   run-fuzz.sh merge [TARGET...]  adds to each seed folder the fewest inputs of
#   out/fuzz/<target>/corpus that reach every edge the runs reached (edges, not hit
#   counts, so the seed folders stay at tens of files).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
mode=run
[ "${1:-}" = merge ] && mode=merge
seconds=${1:-60}
shift || true
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for src in tests/fuzz/*_fuzz.cpp; do targets+=("$(basename "$src" .cpp)"); done
fi
if [ "$mode" = merge ]; then
  for name in "${targets[@]}"; do
    mkdir -p "tests/fuzz/corpus/$name" "out/fuzz/$name/corpus"
    build/fuzz/"$name" -set_cover_merge=1 -use_counters=0 \
      "tests/fuzz/corpus/$name" "out/fuzz/$name/corpus" 2>&1 | grep '^MERGE-OUTER: [0-9]* new' |
      sed "s/^MERGE-OUTER/$name/"
  done
  exit 0
fi
summary=()
failed=0
for name in "${targets[@]}"; do
  work="out/fuzz/$name"
  mkdir -p "$work/corpus"
  echo "== $name ($seconds s)"
  result=clean
  if ! build/fuzz/"$name" -max_total_time="$seconds" -artifact_prefix="$work/" -print_final_stats=1 \
      "$work/corpus" "tests/fuzz/corpus/$name" >"$work/log" 2>&1; then
    result="FINDING (see $work/log)"
    failed=1
  fi
  grep -E '^(INFO: Loaded|Done [0-9]+ runs|==[0-9]+==ERROR|SUMMARY|artifact_prefix)' "$work/log" || true
  counters=$(grep -om1 '[0-9]* inline 8-bit counters' "$work/log" | cut -d' ' -f1)
  coverage=$(grep -o 'cov: [0-9]*' "$work/log" | tail -n1 | cut -d' ' -f2)
  runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$work/log" | cut -d' ' -f2)
  summary+=("$(printf '%-22s %6s counters  cov %5s  %10s runs  %s' "$name" "${counters:-?}" "${coverage:-?}" "${runs:-?}" "$result")")
done
echo "== summary ($seconds s per target)"
printf '%s\n' "${summary[@]}"
exit "$failed"
