#!/usr/bin/env bash
# Installs what is missing, builds the release preset and runs the benchmarks: the game's hot
# paths in process (Google Benchmark on Qt's offscreen platform, medians of 10 repetitions),
# then the whole-process figures of the game and of the reference program, taken in turn under a
# private Xvfb (start-up, key-to-pixels latency, 30 s of idle CPU, peak memory) and printed with
# their ratios game/reference. Takes about two minutes. Arguments go to qex_bench, e.g.
# --benchmark_filter=BM_step. Nothing here asserts: the figures are compared with their targets
# in docs/performance.md.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target qex qex_bench qex_reference qex_bench_process

echo "=== machine"
echo "$(nproc) CPUs, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')," \
  "$(awk '/MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo) memory"
echo "$(. /etc/os-release && echo "$PRETTY_NAME"), Linux $(uname -r)," \
  "$(c++ --version | head -1), Qt $(qtpaths6 --qt-version 2>/dev/null || echo unknown)"
echo "=== in process (offscreen)"
QT_QPA_PLATFORM=offscreen build/release/bench/qex_bench --benchmark_repetitions=10 \
  --benchmark_report_aggregates_only=true "$@" 2>&1 | grep -v '_stddev\|_cv\|_mean'
echo "=== whole process (Xvfb), game and reference in turn"
build/release/bench/qex_bench_process build/release/qex build/release/bench/qex_reference
