#!/usr/bin/env bash
# Sets up, builds and runs every test twice: in the normal build and in the build with
# AddressSanitizer and UndefinedBehaviorSanitizer, so memory faults fail the run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/lsan.supp:print_suppressions=0"

bash "$root/scripts/build.sh" build
(cd "$root/build" && ctest --output-on-failure -j "$(nproc)")

bash "$root/scripts/build.sh" build-san -DAMF_SANITIZE=ON -DAMF_BENCH=OFF
(cd "$root/build-san" && ctest --output-on-failure -j "$(nproc)")

# The file reader under libFuzzer for a minute: a crash found fails the test command.
bash "$root/scripts/fuzz.sh"
