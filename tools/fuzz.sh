#!/usr/bin/env bash
# tools/fuzz.sh SECONDS: builds the libFuzzer targets with clang under the
# address and undefined-behaviour sanitizers in build-fuzz/, then runs each
# target for SECONDS on a copy of its seeds (build-fuzz/corpus/<target>;
# the seeds in the repository are never written). Prints the executions of
# each target and any crash; exits non-zero when one crashed. Not part of the
# test run: the ordinary build does not have these targets.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-}
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
  echo "usage: tools/fuzz.sh SECONDS   (time given to each target)" >&2
  exit 2
fi

if ! command -v clang++ >/dev/null || ! command -v clang >/dev/null; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing clang"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends clang >/dev/null
fi

targets=(numeric_editor markup stored_form device_text)
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCIHAZ_FUZZ=ON \
  -DCIHAZ_ASSERTS=ON "${launcher[@]}" >/dev/null
cmake --build build-fuzz --target "${targets[@]/#/fuzz_}"

# Qt keeps font and style caches for the whole run: leaks are not findings here.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
failed=0
summary=()
for t in "${targets[@]}"; do
  corpus=build-fuzz/corpus/$t
  artifacts=build-fuzz/artifacts/$t
  log=build-fuzz/fuzz-$t.log
  mkdir -p "$corpus" "$artifacts"
  cp -n tools/fuzz/seeds/"$t"/* "$corpus"/
  dict=()
  [ -f tools/fuzz/"$t".dict ] && dict=(-dict=tools/fuzz/"$t".dict)
  echo "== $t: $seconds s"
  status=0
  build-fuzz/fuzz/fuzz_"$t" "$corpus" "${dict[@]}" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$artifacts"/ >"$log" 2>&1 || status=$?
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  crash=$(grep -m1 -E '^==[0-9]+==ERROR|runtime error|fuzz invariant broken|ALARM: working on|out-of-memory' "$log" || true)
  if [ "$status" -ne 0 ] || [ -n "$crash" ]; then
    failed=1
    summary+=("$(printf '%-16s %12s execs %8s/s  CRASH: %s (input in %s, log %s)' "$t" "${execs:-?}" "${rate:-?}" \
      "${crash:-exit status $status}" "$artifacts" "$log")")
  else
    summary+=("$(printf '%-16s %12s execs %8s/s  no crash' "$t" "$execs" "$rate")")
  fi
done
echo
printf '%s\n' "${summary[@]}"
exit "$failed"
