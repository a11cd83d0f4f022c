#!/usr/bin/env bash
# check-test-clock.sh on small source trees: waits for events and stepped time pass,
# and each way of waiting by the real clock fails, naming its file and line.
set -euo pipefail
check=$(cd "$(dirname "$0")/.." && pwd)/check-test-clock.sh
source "$(dirname "$0")/tree-check.sh"

put platform/tests/gui/guard_test.cpp \
  'TestInput::WhenModal([] { TestInput::PostKey(VK_RETURN); });' \
  'EXPECT_TRUE(TestInput::PumpUntil([&] { return done; }, 5000));  // hang guard' \
  'TestInput::PumpUntil([&] { return false || paints > 2; });' \
  '// no std::this_thread::sleep_for here: comments may name it'
put app/tests/gui/run_test.cpp 'TestInput::TSteppedClock clock;' 'Sleep(300);' 'TestInput::PumpFor(300);'
put gif/tests/gui/render_util.h 'struct TFakeClock : TClock {' '  void Sleep(unsigned Ms) override { Now += Ms; }' '};'
put platform/src/gui/app.cpp 'QTimer::singleShot(0, [] {});' 'Sleep(5);'
expect_pass "hang guards, stepped time, a clock's own Sleep, and code outside the tests"

put platform/tests/gui/forms_test.cpp '' 'TestInput::PumpUntil([] { return false; }, 300);'
expect_fail "a pure wait" "platform/tests/gui/forms_test.cpp:2"
put gallery/tests/files_test.cpp 'for (;;) usleep(50);'
expect_fail "usleep" "gallery/tests/files_test.cpp:1"
put engine/tests/mouse_test.cpp 'std::this_thread::sleep_for(std::chrono::milliseconds(20));'
expect_fail "sleep_for" "engine/tests/mouse_test.cpp:1"
put chart/tests/legend_test.cpp 'auto end = std::chrono::steady_clock::now() + 300ms;'
expect_fail "a deadline on the real clock" "chart/tests/legend_test.cpp:1"
put analysis/tests/tool_test.cpp 'QTimer::singleShot(20, [] { Close(); });'
expect_fail "a Qt timed call" "analysis/tests/tool_test.cpp:1"
put platform/tests/gui/threads_test.cpp 'x = 1;' 'Sleep(5);'
expect_fail "Sleep on the real clock" "platform/tests/gui/threads_test.cpp:2"

[ $failed -eq 0 ] && echo "check-test-clock-test: all cases behave"
exit $failed
