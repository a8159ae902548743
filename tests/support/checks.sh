# What the shell tests share, sourced by each: a temporary folder $work
# (removed on exit), the counts $passed and $failed, and
#   check NAME EXPECTED ACTUAL
# which counts a pass when the two agree and otherwise prints both.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

check() {
  if [[ "$2" == "$3" ]]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAIL %s\n  expected: %q\n  actual:   %q\n' "$1" "$2" "$3"
  fi
}
