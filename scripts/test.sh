#!/usr/bin/env bash
# Installs what is missing, checks the layering, builds the program as the run command
# does and starts it headless, builds every test twice (plain, and under
# AddressSanitizer + UndefinedBehaviorSanitizer) and runs them all; the Qt-free
# libraries are also built and tested without Qt, and the thread and painter tests
# run under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh test
jobs=$(nproc)
# The builds take about 4.5 GB; a full disk otherwise shows only as a failed link.
echo "Free space here: $(df -h --output=avail . | tail -1 | tr -d ' ')"

# Modules include only the layers below them; Qt stays inside platform/.
bash scripts/check-layering.sh
# No test orders events by the real clock.
bash scripts/check-test-clock.sh

# The same sources with the same options compile once: the compiler cache hands the
# plain test build the objects of the run command's build.
if command -v ccache >/dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR=$PWD
fi

# The run command's build, with its own options (build-run.sh), where any warning of
# the Release build fails; then the plain test build with the same optimisation.
bash scripts/build-run.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$jobs"
# The program the run command starts, headless: up, painted, a model run, Exit.
bash scripts/smoke-run.sh build-run/app/phonark build/tools/smoke/libphonark_smoke.so build-run/smoke.png
(cd build && ctest --output-on-failure -j "$jobs")

# Without Qt (-DPHONARK_GUI=OFF): only the Qt-free libraries, their tests and tools,
# unoptimised since this build only shows that they stand on their own.
cmake -S . -B build-noqt -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPHONARK_GUI=OFF -DPHONARK_BENCH=OFF >/dev/null
cmake --build build-noqt -j "$jobs"
(cd build-noqt && ctest --output-on-failure -j "$jobs")

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPHONARK_SANITIZE=ON -DPHONARK_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan-suppressions.txt  # system libraries only
(cd build-asan && ctest --output-on-failure -j "$jobs")

# ThreadSanitizer needs a build of its own; only the tests that run threads
# (platform's thread tests and the GIF rendering and painter tests), so that it
# stays quick.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPHONARK_SANITIZE=thread -DPHONARK_BENCH=OFF \
  -DPHONARK_ONLY="platform;gif" >/dev/null
cmake --build build-tsan -j "$jobs" --target platform_gui_tests gif_gui_tests
export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/scripts/tsan.supp"
timeout 900 build-tsan/platform/platform_gui_tests --gtest_brief=1 --gtest_filter='Threads*'
timeout 900 build-tsan/gif/gif_gui_tests --gtest_brief=1
