#!/usr/bin/env bash
# scripts/export --help prints the usage at once: nothing is installed,
# configured or built for it. Every command that would do so is a stand-in
# that logs.
set -uo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0

mkdir -p "$work/bin"
for tool in bash dirname cat grep nproc id; do ln -s "$(command -v "$tool")" "$work/bin/$tool"; done
for tool in cmake dpkg-query apt-get sudo; do
  printf '#!/bin/bash\necho "%s $*" >> "%s"\n' "$tool" "$work/log" > "$work/bin/$tool"
  chmod +x "$work/bin/$tool"
done

# run ARGUMENTS... : scripts/export with the stand-ins; sets out, log.
run() {
  rm -f "$work/log"
  out="$(PATH="$work/bin" "$work/bin/bash" "$root/scripts/export" "$@" 2>/dev/null)"
  log="$(cat "$work/log" 2>/dev/null)"
}

check() {  # check DESCRIPTION CONDITION...
  local what="$1"; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; echo "  log: $log"; failures=$((failures + 1)); fi
}

for asked in "--help" "-h" "--crf 20 --help"; do
  run $asked
  check "'$asked' prints the usage" test "$out" = "$(cat "$root/src/export/usage.txt")"
  check "'$asked' installs, configures and builds nothing" test -z "$log"
done
# A name after "--" and an option's value are no requests for help.
for name in "-- --help" "--preset --help"; do
  run $name
  check "'$name' goes on to install and build" test -n "$log"
done

[ "$failures" -eq 0 ]
