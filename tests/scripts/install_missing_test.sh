#!/usr/bin/env bash
# Checks who installs the missing packages: nobody when nothing is missing,
# sudo for a user, apt-get itself for root, and for a user without sudo a
# message that says what to install, instead of a failed command.
# Every system command the scripts call here is a stand-in that logs.
set -uo pipefail
lib="$(cd "$(dirname "$0")/../.." && pwd)/scripts/lib.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

stub() {  # stub NAME BODY : a stand-in command in $work/bin
  printf '#!/bin/bash\n%s\n' "$2" > "$work/bin/$1"
  chmod +x "$work/bin/$1"
}

mkdir -p "$work/bin"
for tool in bash grep nproc dirname env cat; do ln -s "$(command -v "$tool")" "$work/bin/$tool"; done
stub id 'echo "$FAKE_UID"'
stub dpkg-query 'for p in $FAKE_INSTALLED; do [ "$p" = "${!#}" ] && echo "install ok installed" && exit 0; done; exit 1'
stub apt-get 'echo "apt-get $*" >> "$LOG"'
stub sudo-present 'echo "sudo $*" >> "$LOG"; "$@"'

# run UID HAS_SUDO INSTALLED : install_missing for two packages; sets out, status.
run() {
  rm -f "$work/bin/sudo" "$work/log"
  [ "$2" = yes ] && cp "$work/bin/sudo-present" "$work/bin/sudo"
  out="$(PATH="$work/bin" FAKE_UID="$1" FAKE_INSTALLED="$3" LOG="$work/log" \
    "$work/bin/bash" -c 'source "$0"; install_missing alpha beta' "$lib" 2>&1)"
  status=$?
  log="$(cat "$work/log" 2>/dev/null)"
}

check() {  # check DESCRIPTION CONDITION...
  local what="$1"; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; echo "  output: $out"; echo "  log: $log"; failures=$((failures + 1)); fi
}

run 1000 yes "alpha beta"
check "a user with everything installed runs nothing as root" test "$status" -eq 0 -a -z "$log"

run 1000 yes "alpha"
check "a user's missing package is installed through sudo" \
  grep -q "^sudo env DEBIAN_FRONTEND=noninteractive apt-get install .* beta$" <<< "$log"
check "nothing but the packages goes through sudo" test "$(grep -vc '^sudo .*apt-get\|^apt-get' <<< "$log")" -eq 0

run 0 no ""
check "root without sudo installs directly" \
  test "$status" -eq 0 -a -n "$log" -a "$(grep -c '^sudo' <<< "$log")" -eq 0

run 1000 no "alpha"
check "a user without sudo is told what to install" \
  test "$status" -ne 0 -a -z "$log"
check "the message names the missing package" grep -q "apt-get install beta' as root" <<< "$out"

[ "$failures" -eq 0 ]
