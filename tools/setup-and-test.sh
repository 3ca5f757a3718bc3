#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test, then each fuzz target briefly.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
jobs=$(nproc)
cmake -G Ninja -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVADEX_TESTS=ON
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

# The fuzz targets need clang's libFuzzer; they get a build of their own with sanitizers.
if command -v clang++ >/dev/null; then
  cmake -G Ninja -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
    -DCMAKE_CXX_COMPILER=clang++ -DCORVADEX_FUZZ=ON -DCORVADEX_WERROR=OFF -DCORVADEX_TESTS=OFF -DCORVADEX_BENCH=OFF >/dev/null
  targets=$(cd fuzz && ls fuzz_*.cpp | sed 's/\.cpp$//')
  cmake --build build-fuzz -j "$jobs" --target corvadex_assets $targets
  for t in $targets; do
    echo "== fuzzing $t for ${FUZZ_SECONDS:-20} s"
    corpus=$(mktemp -d)
    [ -d "fuzz/corpus/$t" ] && cp -r "fuzz/corpus/$t/." "$corpus/"
    dict=()
    [ -f "fuzz/$t.dict" ] && dict=(-dict="fuzz/$t.dict")
    # A target that makes its own seeds (and dictionary) from the code's tables makes them afresh.
    seeds=$(mktemp -d)
    if grep -q CORVADEX_FUZZ_WRITE_SEEDS "fuzz/$t.cpp"; then
      QT_QPA_PLATFORM=offscreen CORVADEX_FUZZ_WRITE_SEEDS="$seeds" "build-fuzz/bin/$t" >/dev/null 2>&1
      [ -d "$seeds/corpus/$t" ] && cp -r "$seeds/corpus/$t/." "$corpus/"
      [ -f "$seeds/$t.dict" ] && dict=(-dict="$seeds/$t.dict")
    fi
    LSAN_OPTIONS="suppressions=$PWD/fuzz/lsan.supp" QT_QPA_PLATFORM=offscreen "build-fuzz/bin/$t" "$corpus" "${dict[@]}" -max_total_time="${FUZZ_SECONDS:-20}" \
      -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 2>&1 | tail -n 12
    rm -rf "$corpus" "$seeds"
  done
fi
