#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the fuzz targets with clang++ and runs each in turn for the given
# number of seconds (one process each), starting from the seed corpus in
# fuzz/corpus/<target>/. New inputs go to <build-dir>/corpus/<target>/, never
# into the repository; a finding stops the script with the fuzzer's exit code
# and leaves the input in <build-dir>/findings/.
#
#   fuzz/run.sh <seconds-per-target> [build-dir]     (build-dir: ./build-fuzz)
set -euo pipefail

seconds=${1:?usage: fuzz/run.sh <seconds-per-target> [build-dir]}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${2:-$root/build-fuzz}")

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DBUILD_SHARED_LIBS=OFF -DALGEXPR_WERROR=ON -DALGEXPR_BUILD_FUZZERS=ON -DALGEXPR_BUILD_TESTS=OFF \
    -DALGEXPR_BUILD_TOOLS=OFF -DALGEXPR_BUILD_EXAMPLES=OFF -DALGEXPR_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j2

declare -A max_len=([read_print]=4096 [subst_constraints]=4096 [differential_reader]=1024 [infix_round_trip]=4096
    [ginac_engine]=64 [checked_answers]=24)
# The GiNaC engine's target reports an evaluation past its own budget (15 s
# of processor time under AddressSanitizer); the timeout stops a runaway.
declare -A timeout=([ginac_engine]=40 [checked_answers]=40)
declare -A dict=([read_print]=prefix [subst_constraints]=prefix [differential_reader]=prefix [infix_round_trip]=infix)
targets=(read_print subst_constraints differential_reader infix_round_trip)
# The GiNaC engine's target is there when the build found GiNaC.
[ -x "$build/fuzz/algexpr_fuzz_ginac_engine" ] && targets+=(ginac_engine)
# The check's own target, with GiNaC (and Giac where the build found it).
[ -x "$build/fuzz/algexpr_fuzz_checked_answers" ] && targets+=(checked_answers)
# Leaks inside libcln and libginac (the GiNaC engine's target) are no finding:
# see fuzz/lsan-suppressions.txt.
export LSAN_OPTIONS="suppressions=$root/fuzz/lsan-suppressions.txt:print_suppressions=0${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
# An allocation beyond all memory (CLN asks for one now and then) must fail
# as it does without AddressSanitizer, so that the engine says "out of memory".
export ASAN_OPTIONS="allocator_may_return_null=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
for target in "${targets[@]}"; do
    echo "== fuzzing $target for ${seconds}s"
    mkdir -p "$build/corpus/$target" "$build/findings/$target"
    "$build/fuzz/algexpr_fuzz_$target" "$build/corpus/$target" "$root/fuzz/corpus/$target" \
        ${dict[$target]:+-dict="$root/fuzz/${dict[$target]}.dict"} -max_total_time="$seconds" -max_len="${max_len[$target]}" \
        -timeout="${timeout[$target]:-10}" -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/findings/$target/"
done
