#!/usr/bin/env bash
# Coverage-guided fuzzing of every fuzz target with clang's libFuzzer, AddressSanitizer
# and UBSan, starting from the seeds under tests/fuzz/corpus/. Argument: seconds per target.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-60}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"
for src in tests/fuzz/*_fuzz.cpp; do
  name=$(basename "$src" .cpp)
  work="out/fuzz/$name"
  mkdir -p "$work/corpus"
  echo "== $name ($seconds s)"
  build/fuzz/"$name" -max_total_time="$seconds" -artifact_prefix="$work/" \
    "$work/corpus" "tests/fuzz/corpus/$name"
done
