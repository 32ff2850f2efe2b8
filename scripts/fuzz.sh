#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer), replays the kept regression inputs, then fuzzes
# each target for a bounded time on a copy of its seed corpus.
#   scripts/fuzz.sh            30 seconds per target
#   scripts/fuzz.sh 600        a longer run
#   scripts/fuzz.sh 60 DIR     build in DIR instead of build-fuzz
# Exits non-zero when a target crashes, hangs or breaks a property; the input
# that did it is left in DIR/fuzz-artifacts/<target>/ (keep it as a regression
# in tests/fuzz/regressions/<target>/ once fixed).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
build=${2:-build-fuzz}
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja \
  -DVANTREL_FUZZ=ON -DVANTREL_SANITIZE=ON -DVANTREL_BUILD_UI=OFF -DVANTREL_BUILD_BENCH=OFF >/dev/null
cmake --build "$build"
# The targets as tests/fuzz/CMakeLists.txt names them.
mapfile -t targets <"$build/tests/fuzz/fuzz_targets.txt"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for t in "${targets[@]}"; do
  fuzzer="$build/tests/fuzz/${t}_fuzz"
  artifacts="$build/fuzz-artifacts/$t"
  mkdir -p "$artifacts" "$work/$t"
  if [[ -d tests/fuzz/regressions/$t ]]; then
    echo "fuzz: $t: replaying regressions"
    "$fuzzer" -runs=0 "tests/fuzz/regressions/$t" || { echo "fuzz: $t: a regression input fails"; status=1; continue; }
  fi
  cp -r "tests/fuzz/corpus/$t/." "$work/$t/"  # the repository's corpus does not grow
  # The update tests' server answers, written as seeds by the build.
  if [[ $t == update_answer ]]; then cp -r "$build/tests/fuzz/answer-seeds/." "$work/$t/"; fi
  dict=()
  [[ -f tests/fuzz/$t.dict ]] && dict=(-dict="tests/fuzz/$t.dict")
  echo "fuzz: $t: ${seconds}s"
  if ! "$fuzzer" "$work/$t" "${dict[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -artifact_prefix="$artifacts/" -print_final_stats=1 >"$work/$t.log" 2>&1; then
    tail -n 60 "$work/$t.log"
    echo "fuzz: $t: FAILED; input kept in $artifacts/"
    status=1
  else
    grep -E '^stat::(number_of_executed_units|new_units_added)' "$work/$t.log" | sed "s/^/fuzz: $t: /" || true
  fi
done
exit $status
