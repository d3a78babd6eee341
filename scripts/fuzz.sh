#!/usr/bin/env bash
# Builds the libFuzzer target for the file reader with clang (tree build-fuzz) and runs it: first over
# the committed seed files and every input that once failed (each must pass), then a short fuzzing run
# of FUZZ_SECONDS seconds (60 by default) in a single process. Exits non-zero when the fuzzer finds a
# crash, a leak, a hang or a broken property; the failing input is kept in build-fuzz/fuzz-artifacts.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${FUZZ_SECONDS:-60}"
reader_seconds="${READER_FUZZ_SECONDS:-30}"
build="$root/build-fuzz"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DAMF_FUZZ=ON -DAMF_GUI=OFF -DAMF_TESTS=OFF \
  -DAMF_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target amf_fuzz

fuzzer="$build/fuzz/amf_fuzz"
# The seed files, and the inputs that once failed when there are any.
inputs=("$root/tests/fuzz-corpus")
if [ -d "$root/tests/data/fuzz-regressions" ]; then
  inputs+=("$root/tests/data/fuzz-regressions")
fi
work="$build/fuzz-corpus"
artifacts="$build/fuzz-artifacts"
mkdir -p "$work" "$artifacts"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"

echo "fuzz: replaying the seed corpus and the regression inputs"
"$fuzzer" -runs=0 -timeout=10 "${inputs[@]}"

echo "fuzz: ${seconds} s with one worker"
"$fuzzer" -dict="$root/fuzz/amf.dict" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$artifacts/" "$work" "${inputs[@]}"

