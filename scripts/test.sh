#!/bin/sh
# Builds twice (normal and AddressSanitizer/UBSan) and runs every test in
# both builds. Window tests run under a virtual X server with a window
# manager, one at a time.
set -e
cd "$(dirname "$0")/.."
JOBS=${JOBS:-2}

run_suite() {
  dir=$1
  (cd "$dir" && ctest --output-on-failure -j"$JOBS" -LE window)
  (cd "$dir" && xvfb-run -a -s "-screen 0 1280x1024x24" ../scripts/with-wm.sh \
      ctest --output-on-failure -j1 -L window)
}

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$JOBS"
run_suite build

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DHALVEX_SANITIZE=ON -DHALVEX_BENCHMARKS=OFF >/dev/null
cmake --build build-asan -j"$JOBS"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 run_suite build-asan
