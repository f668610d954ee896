#!/usr/bin/env bash
# Fuzzes the score-file reader and the replay reader with libFuzzer for
# SECONDS (default 60) in all, half each, from fresh copies of the seed
# corpora in fuzz/corpus/ and fuzz/replay-corpus/. Builds with clang in
# build-fuzz (FUZZ_BUILD overrides). An input that crashes or breaks a check
# is kept as build-fuzz/fuzz-artifacts/crash-* and the script fails.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD:-$root/build-fuzz}
jobs=${JOBS:-$(nproc)}

bash "$root/scripts/install-deps.sh"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug \
  -DPELLMORA_FUZZ=ON -DPELLMORA_DESKTOP=OFF -DPELLMORA_SERVER=OFF
cmake --build "$build" -j "$jobs" --target pellmora_score_fuzzer pellmora_replay_fuzzer

# The fuzzer adds what it finds to its corpus; the seed corpus stays as it is.
corpus="$build/fuzz-corpus"
artifacts="$build/fuzz-artifacts"
rm -rf "$corpus"
mkdir -p "$corpus" "$artifacts"
cp "$root"/fuzz/corpus/* "$corpus"/

half=$(((seconds + 1) / 2))
echo "Fuzzing the score-file reader for $half s"
"$build/fuzz/pellmora_score_fuzzer" \
  -max_total_time="$half" -max_len=2048 -rss_limit_mb=512 -timeout=5 \
  -dict="$root/fuzz/ScoreFile.dict" -artifact_prefix="$artifacts/" \
  -print_final_stats=1 "$corpus"

replays="$build/fuzz-replay-corpus"
rm -rf "$replays"
mkdir -p "$replays"
cp "$root"/fuzz/replay-corpus/* "$replays"/
echo "Fuzzing the replay reader for $half s"
"$build/fuzz/pellmora_replay_fuzzer" \
  -max_total_time="$half" -max_len=65536 -rss_limit_mb=1024 -timeout=10 \
  -artifact_prefix="$artifacts/" -print_final_stats=1 "$replays"
