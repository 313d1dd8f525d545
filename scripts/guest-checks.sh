# Sourced by the scripts that run in the virtual machine: `check WHAT COMMAND...` runs the
# command and counts it as passed or failed in $passed and $failed.
passed=0
failed=0
check() {
  local what=$1
  shift
  if "$@"; then
    echo "ok: $what"
    passed=$((passed + 1))
  else
    echo "FAILED: $what" >&2
    failed=$((failed + 1))
  fi
}
