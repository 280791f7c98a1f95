#!/usr/bin/env bash
# tools/fuzz.sh SECONDS [TARGET...]: builds the libFuzzer targets (all, or
# those named) with clang under the address and undefined-behaviour
# sanitizers in build-fuzz/, then runs each target for SECONDS on a copy of
# its seeds (build-fuzz/corpus/<target>;
# the seeds in the repository are never written). Prints the executions of
# each target and any crash; exits non-zero when one crashed. Not part of the
# test run: the ordinary build does not have these targets.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-}
if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -eq 0 ]; then
  echo "usage: tools/fuzz.sh SECONDS [TARGET...]   (time given to each target)" >&2
  exit 2
fi

if ! command -v clang++ >/dev/null || ! command -v clang >/dev/null; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing clang"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends clang >/dev/null
fi

targets=(numeric_editor markup stored_form device_text caller_id_frames modem_stream line_audio wav_reader)
shift
[ $# -gt 0 ] && targets=("$@")
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
  rm -rf "$artifacts"
  mkdir -p "$corpus" "$artifacts"
  cp -n tools/fuzz/seeds/"$t"/* "$corpus"/
  dict=()
  [ -f tools/fuzz/"$t".dict ] && dict=(-dict=tools/fuzz/"$t".dict)
  # The device's parsers hold what a device sends: their memory stays small.
  case $t in
    caller_id_frames | modem_stream | line_audio | wav_reader) rss=512 ;;
    *) rss=2048 ;;
  esac
  echo "== $t: $seconds s"
  # One job at a time (-fork=1), so that a crash, a timeout or running out of
  # memory is kept and counted without ending the target's time.
  build-fuzz/fuzz/fuzz_"$t" "$corpus" "${dict[@]}" -fork=1 -ignore_crashes=1 -ignore_ooms=1 -ignore_timeouts=1 \
    -max_total_time="$seconds" -timeout=20 -rss_limit_mb="$rss" -artifact_prefix="$artifacts"/ >"$log" 2>&1 || true
  # The last progress line: "#execs: cov: … exec/s n oom/timeout/crash: a/b/c …".
  last=$(grep -E '^#[0-9]+: cov:' "$log" | tail -1 || true)
  execs=$(sed -E 's/^#([0-9]+):.*/\1/' <<<"$last")
  rate=$(sed -nE 's/.*exec\/s:? ([0-9]+).*/\1/p' <<<"$last")
  found=$(sed -nE 's/.*oom\/timeout\/crash: ([0-9]+\/[0-9]+\/[0-9]+).*/\1/p' <<<"$last")
  kept=$(find "$artifacts" -type f | wc -l)
  if [ -z "$last" ]; then
    failed=1
    summary+=("$(printf '%-16s did not run, see %s' "$t" "$log")")
  elif [ "$kept" -gt 0 ] || [ "${found:-0/0/0}" != 0/0/0 ]; then
    failed=1
    summary+=("$(printf '%-16s %12s execs %8s/s  oom/timeout/crash %s: inputs in %s, log %s' "$t" "$execs" \
      "${rate:-?}" "$found" "$artifacts" "$log")")
  else
    summary+=("$(printf '%-16s %12s execs %8s/s  no crash' "$t" "$execs" "${rate:-?}")")
  fi
done
echo
printf '%s\n' "${summary[@]}"
exit "$failed"
