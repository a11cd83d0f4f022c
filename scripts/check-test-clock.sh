#!/usr/bin/env bash
# Checks that no test orders events by the real clock. In the tests' sources
# (<module>/tests/**) it refuses:
#  - waits and timed calls by the real clock: std::this_thread::sleep_for and
#    sleep_until, usleep, nanosleep, QThread's sleeps, QTest::qWait,
#    QTimer::singleShot;
#  - reading the real clock through std::chrono (steady_clock, system_clock,
#    high_resolution_clock);
#  - a wait for a length of time: PumpUntil with a condition that is always false
#    (deliver with PumpPasses, wait for the event, or PumpFor on a stepped clock);
#  - the platform's Sleep in a file that installs no TSteppedClock, where it would
#    wait by the real clock (a method named Sleep being defined is not a call).
# Allowed: PumpUntil on a real condition, whose time limit is a hang guard only.
# Scripted input posted with a delay off a stepped clock is refused when it runs.
# Prints every offence as file:line and exits 1 when there is one.
# Usage: check-test-clock.sh [source root, default: this project]
set -euo pipefail
root=${1:-"$(dirname "$0")/.."}
cd "$root"

real_wait='std::this_thread::sleep_(for|until)|(^|[^A-Za-z_:])(usleep|nanosleep)[[:space:]]*\(|QThread::[mu]?sleep|QTest::qWait|QTimer::singleShot'
real_clock='(steady_clock|system_clock|high_resolution_clock)'
pure_wait='PumpUntil[[:space:]]*\([[:space:]]*\[[^]]*\][[:space:]]*(\([^)]*\))?[[:space:]]*\{[[:space:]]*return[[:space:]]+false;[[:space:]]*\}'
sleep_call='(^|[^A-Za-z_:.>])Sleep[[:space:]]*\('
sleep_def='(void|override)[[:space:]]+Sleep[[:space:]]*\(|Sleep[[:space:]]*\([^)]*\)[[:space:]]*(override|const)?[[:space:]]*\{'

bad=0
report() {
  echo "$1: $2" >&2
  bad=1
}

# Only files that name a wait or a clock at all are read line by line.
mapfile -t files < <(find . -path '*/tests/*' \( -name '*.cpp' -o -name '*.h' \) -not -path './build*' \
                       -not -path './scripts/*' -print0 2>/dev/null |
                     xargs -0 -r grep -lE 'sleep|Sleep|_clock|qWait|singleShot|PumpUntil' | sed 's|^\./||' | sort)
for file in "${files[@]}"; do
  stepped=0
  grep -q 'TSteppedClock' "$file" && stepped=1
  n=0
  while IFS= read -r text || [ -n "$text" ]; do
    n=$((n + 1))
    code=${text%%//*}  # comments may name what they avoid
    if [[ $code =~ $real_wait ]]; then
      what=${BASH_REMATCH[0]#"${BASH_REMATCH[0]%%[A-Za-z]*}"}
      report "$file:$n" "waits or times a call by the real clock (${what%%[[:space:](]*}): script it by loop steps or on a stepped clock"
    elif [[ $code =~ $real_clock ]]; then
      report "$file:$n" "reads the real clock (${BASH_REMATCH[1]}): wait for the event, or use a stepped clock"
    elif [[ $code =~ $pure_wait ]]; then
      report "$file:$n" "waits a length of time (PumpUntil on false): use PumpPasses, wait for the event, or PumpFor on a stepped clock"
    elif [[ $code =~ $sleep_call ]] && ! [[ $code =~ $sleep_def ]] && [ $stepped -eq 0 ]; then
      report "$file:$n" "Sleep without a stepped clock waits by the real clock: wait for the event instead"
    fi
  done <"$file"
done

if [ $bad -ne 0 ]; then
  echo "check-test-clock: tests order events by the real clock" >&2
  exit 1
fi
echo "check-test-clock: no test races the clock"
