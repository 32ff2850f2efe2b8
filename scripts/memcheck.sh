#!/usr/bin/env bash
# Runs the test programs that need no display (chart, update, hardening)
# under Valgrind's memcheck: any invalid access, use of uninitialised memory
# or leak (definite or possible) fails the run.
#
#   bash scripts/memcheck.sh [BUILD_DIR]       (default: build-memcheck)
#
# A Debug build without the desktop program, so reports point at source lines.
# Processes the tests start themselves (the update driver, spawned servers)
# are not followed; forked children are, as they run the same code.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build-memcheck}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVANTREL_BUILD_UI=OFF \
    -DVANTREL_BUILD_BENCH=OFF -DVANTREL_SANITIZE=OFF >/dev/null
cmake --build "$build"

mapfile -t programs < <(find "$build/tests" -type f -executable -name '*_tests' | sort)
((${#programs[@]})) || { echo "memcheck: no test programs in $build/tests" >&2; exit 1; }

failed=()
for program in "${programs[@]}"; do
    echo "== memcheck: $program"
    # Under Valgrind everything runs some twenty times slower; the tests'
    # own time limits are generous enough for that.
    if ! valgrind --tool=memcheck --error-exitcode=1 --leak-check=full \
            --errors-for-leak-kinds=definite,possible --show-leak-kinds=definite,possible \
            --track-origins=yes --quiet "$program" --gtest_brief=1; then
        failed+=("$program")
    fi
done

if ((${#failed[@]})); then
    echo "memcheck: errors reported in: ${failed[*]}" >&2
    exit 1
fi
echo "memcheck: clean (${#programs[@]} test programs)"
