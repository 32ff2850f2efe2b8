#!/usr/bin/env bash
# Sets everything up, builds, and runs every test: the normal build, a short
# bounded fuzzing run of each fuzz target, then the whole suite again built
# with AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

bash scripts/build.sh build
# Two at a time: every test server listens on a port the system picks, and the
# X sessions take turns (their RESOURCE_LOCK).
ctest --test-dir build --output-on-failure -j2

bash scripts/fuzz.sh "${VANTREL_FUZZ_SECONDS:-30}"

bash scripts/build.sh build-asan -DVANTREL_SANITIZE=ON -DVANTREL_BUILD_BENCH=OFF
# Not again under the sanitizers: the package test (it builds and checks an
# unsanitized package) and the Wayland test (the compositor's and plugin's
# own allocations, nothing of ours that the X11 tests do not cover).
# A test that fails here fails the pass: no retry over the suite, so an
# intermittent race or leak report shows the first time it happens.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp \
  ctest --test-dir build-asan --output-on-failure -j2 --label-exclude 'package|wayland'
