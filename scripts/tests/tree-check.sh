# Sourced by the tests of the tree checks: runs the check named by $check on a small
# source tree of its own. The sourcing script sets check, then writes files with put
# and runs expect_pass or expect_fail; it ends with: exit $failed.
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
failed=0

# put FILE LINE...: writes a source file of the tree.
put() {
  local f=$tree/$1
  shift
  mkdir -p "$(dirname "$f")"
  printf '%s\n' "$@" >"$f"
}

# expect_pass NAME / expect_fail NAME WHERE: runs the check on the tree, then empties it.
expect_pass() {
  if ! out=$(bash "$check" "$tree" 2>&1); then
    echo "FAIL $1: the check refused an allowed tree:"; echo "$out"; failed=1
  fi
  rm -rf "${tree:?}"/*
}
expect_fail() {
  if out=$(bash "$check" "$tree" 2>&1); then
    echo "FAIL $1: the check passed"; failed=1
  elif [[ $out != *"$2"* ]]; then
    echo "FAIL $1: no mention of $2 in:"; echo "$out"; failed=1
  fi
  rm -rf "${tree:?}"/*
}
