#!/bin/bash
# The tools' PNG writer on a full file system: the old picture stays whole, nothing
# is left beside it, and the tool exits non-zero naming the file with the system's
# reason. The file system is a small tmpfs in a mount namespace of the test's own
# where one can be made (root, or user namespaces), else the file size limit stands
# in for it.
# Argument: the snapshot tool. FORCE_FSIZE=1 takes the file size limit anyway.
set -u
snapshot=$1
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
export QT_QPA_PLATFORM=offscreen

"$snapshot" "$T/first.png" > /dev/null 2>&1 || { echo "FAIL: snapshot cannot write a picture at all"; exit 1; }

# Writes over $1/chart.png (a copy of $1/old.png) and reports what came of it.
write_over() {
  local dir=$1 out status
  out=$("$snapshot" "$dir/chart.png" 2>&1)
  status=$?
  printf 'status %s\n%s\n' "$status" "$out"
  cmp -s "$dir/old.png" "$dir/chart.png" && echo "old file whole"
  ls "$dir" | grep -q '\.part$' && echo "a temporary was left"
  true
}

cp "$T/first.png" "$T/old.png"
if [[ -z ${FORCE_FSIZE:-} ]] && { unshare --mount true 2> /dev/null || unshare --user --map-root-user --mount true 2> /dev/null; }; then
  how="a full tmpfs"
  reason="No space left on device"
  mkdir "$T/small"
  ns=(unshare --mount)
  unshare --mount true 2> /dev/null || ns=(unshare --user --map-root-user --mount)
  export -f write_over
  export snapshot
  result=$("${ns[@]}" bash -c '
    mount -t tmpfs -o size=256k tmpfs "$1" || exit 3
    cp "$2" "$1/old.png"
    cp "$2" "$1/chart.png"
    dd if=/dev/zero of="$1/filler" bs=4k 2> /dev/null
    write_over "$1"' _ "$T/small" "$T/first.png")
  [[ $? == 3 ]] && { echo "FAIL: the namespace could not mount a tmpfs"; exit 1; }
else
  how="the file size limit"
  reason="File too large"
  mkdir "$T/limited"
  cp "$T/first.png" "$T/limited/old.png"
  cp "$T/first.png" "$T/limited/chart.png"
  result=$(trap '' XFSZ; ulimit -f 1; write_over "$T/limited")
fi

fail=0
want() { [[ $result == *"$1"* ]] || { echo "FAIL ($how): wanted '$1' in:"; printf '%s\n' "$result"; fail=1; }; }
want "status 1"
want "chart.png"
want "$reason"
want "old file whole"
[[ $result == *"a temporary was left"* ]] && { echo "FAIL ($how): a temporary was left"; fail=1; }
[[ $result == *".part"* ]] && { echo "FAIL ($how): the message names the temporary"; fail=1; }
[[ $fail == 0 ]] && echo "ok: $how"
exit $fail
