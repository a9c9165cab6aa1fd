#!/usr/bin/env bash
# Builds both targets and runs every test: native unit and fuzz-replay tests,
# Windows unit tests under Wine, and end-to-end scenarios that start the real
# Veltrano.scr under Wine on a private Xvfb, and the layer order of src/'s
# includes. One summary at the end.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/testbed.sh

jobs=$(nproc)
mkdir -p out/test
scripts/check-layers.sh >out/test/layers.log 2>&1
layers_rc=$?
cmake --preset native >/dev/null && cmake --build --preset native -j "$jobs" || exit 1
cmake --preset windows >/dev/null && cmake --build --preset windows -j "$jobs" || exit 1
cmake --build --preset windows -j "$jobs" --target veltrano_win_tests veltrano_e2e || exit 1

ctest --test-dir build/native -j "$jobs" --output-on-failure --timeout 300 \
  --output-junit "$root/out/test/native.xml" >out/test/native.log 2>&1
native_rc=$?

# Wine's loader is a 32-bit Linux program. A kernel booted without 32-bit
# support refuses to start it, and then no Windows test can run at all: those
# stages are reported as skipped, with the reason, instead of as failures.
windows_skipped=
if ! wine_out=$(wine --version 2>&1) && grep -q 'Exec format error' <<<"$wine_out"; then
  windows_skipped="this machine's kernel runs no 32-bit programs, so Wine cannot start"
  : >out/test/windows.log
  windows_rc=0
else
  trap testbed_stop EXIT
  testbed_start yes || exit 1
  # A scenario drives real windows, the cursor and the X server under Wine, and
  # now and then one loses a race with them: a failed test gets one more run.
  # Each run's line is in the log; the summary names the tests that needed it.
  ctest --test-dir build/windows -j "$jobs" --output-on-failure --timeout 300 \
    --repeat until-pass:2 --output-junit "$root/out/test/windows.xml" >out/test/windows.log 2>&1
  windows_rc=$?
fi

count() { # label, log: "passed failed" of that label's tests, by each one's last run
  # The status follows the dotted leader, so a test named "...Failed..." is not misread.
  grep -E "Test +#[0-9]+: $1\." "$2" |
    awk '{split($0, a, "#"); split(a[2], b, ":"); last[b[1]] = ($0 ~ /\.+ +Passed +[0-9.]+ sec$/)}
         END {for (t in last) if (last[t]) p++; else f++; print p+0, f+0}'
}
# Tests that failed once and passed on their second run.
second_tries() {
  grep -E "Test +#[0-9]+: " "$1" |
    awk '{split($0, a, "#"); split(a[2], b, ":"); n[b[1]]++; name[b[1]] = $0}
         END {for (t in n) if (n[t] > 1 && name[t] ~ /\.+ +Passed +[0-9.]+ sec$/) {sub(/ \.+.*/, "", name[t]); sub(/.*: /, "", name[t]); print name[t]}}'
}
read -r np nf < <(count native out/test/native.log)
read -r fp ff < <(count fuzz out/test/native.log)
read -r wp wf < <(count windows out/test/windows.log)
read -r ep ef < <(count e2e out/test/windows.log)

lp=1 lf=0
if [ "$layers_rc" -ne 0 ]; then lp=0 lf=1; cat out/test/layers.log; fi
for log in out/test/native.log out/test/windows.log; do
  grep -E -A40 'tests failed out of|The following tests' "$log" | grep -vE '^\s*$' | sed -n '1,60p'
done
echo
echo "== Veltrano test summary =="
printf '%-28s %4s passed, %4s failed\n' "native unit tests:" "$np" "$nf"
printf '%-28s %4s passed, %4s failed\n' "native fuzz replays:" "$fp" "$ff"
if [ -n "$windows_skipped" ]; then
  printf '%-28s skipped: %s\n' "Windows unit tests (Wine):" "$windows_skipped"
  printf '%-28s skipped: %s\n' "end-to-end (Wine, Xvfb):" "$windows_skipped"
else
  printf '%-28s %4s passed, %4s failed\n' "Windows unit tests (Wine):" "$wp" "$wf"
  printf '%-28s %4s passed, %4s failed\n' "end-to-end (Wine, Xvfb):" "$ep" "$ef"
fi
printf '%-28s %4s passed, %4s failed\n' "layer order of includes:" "$lp" "$lf"
retried=$(second_tries out/test/windows.log | sort)
[ -n "$retried" ] && printf 'passed on a second run: %s\n' $retried
total_p=$((np + fp + wp + ep + lp)); total_f=$((nf + ff + wf + ef + lf))
echo "$total_p passed, $total_f failed"
[ "$native_rc" -eq 0 ] && [ "$windows_rc" -eq 0 ] && [ "$total_f" -eq 0 ] && [ "$total_p" -gt 0 ]
