#!/usr/bin/env bash
# Sets everything up, builds, and runs every test: the normal build, then the
# whole suite again built with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

bash scripts/build.sh build
ctest --test-dir build --output-on-failure

bash scripts/build.sh build-asan -DVANTREL_SANITIZE=ON -DVANTREL_BUILD_BENCH=OFF
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp \
  ctest --test-dir build-asan --output-on-failure
