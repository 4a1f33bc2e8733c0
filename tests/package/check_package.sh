#!/usr/bin/env bash
# Checks a built kestrum_*.deb without installing it:
#   tests/package/check_package.sh PACKAGE.deb
# - its paths are exactly those of tests/package/expected-contents.txt (a file missing from
#   the package, or one that should not be in it, such as a test program, fails);
# - the links in /usr/bin lead to the programs in /usr/lib/kestrum;
# - Depends, found by dpkg-shlibdeps, is not empty and names neither private library;
# - the manual pages and the changelog are gzip files;
# - it has no maintainer scripts (installing and purging it runs nothing of its own).
# Prints "N passed, M failed" and exits 1 when a check failed.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
deb=${1:?usage: check_package.sh PACKAGE.deb}
passed=0 failed=0
check() {  # NAME, then a command that succeeds when the check holds
  local name=$1; shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $name" >&2
  fi
}

listing=$(dpkg-deb -c "$deb") || { echo "dpkg-deb cannot read $deb" >&2; exit 1; }
# "drwxr-xr-x root/root 0 2026-12-10 00:00 ./usr/bin/" -> "/usr/bin"; a link loses " -> target".
paths=$(awk '{ p = $6; sub(/^\./, "", p); sub(/\/$/, "", p); if (p != "") print p }' <<<"$listing" | sort)
expected=$(grep -v '^#' "$here/expected-contents.txt" | sed '/^$/d' | sort)
same_contents() {
  local diff
  diff=$(diff <(echo "$expected") <(echo "$paths")) && return 0
  echo "Package contents differ from expected-contents.txt (< expected, > in the package):" >&2
  echo "$diff" >&2
  return 1
}
check "contents" same_contents

link_target() { awk -v p="./usr/bin/$1" '$6 == p && $7 == "->" { print $8 }' <<<"$listing"; }
for program in kestrum kestrum-cli; do
  check "/usr/bin/$program -> ../lib/kestrum/$program" \
    test "$(link_target "$program")" = "../lib/kestrum/$program"
done

owners=$(awk '{ print $2 }' <<<"$listing" | sort -u)
check "every file owned by root/root" test "$owners" = "root/root"

# "      64 bytes,     7 lines   *  postinst             #!/bin/sh"
scripts=$(dpkg-deb -I "$deb" | grep -E '^ +[0-9]+ bytes, .* (pre|post)(inst|rm)( |$)')
check "no maintainer scripts" test -z "$scripts"

depends=$(dpkg-deb -f "$deb" Depends)
check "Depends is not empty" test -n "$depends"
check "Depends names libc6 and Qt 6 widgets" \
  bash -c '[[ "$1" == *libc6* && "$1" == *libqt6widgets6* ]]' _ "$depends"
check "Depends names no private library" \
  bash -c '[[ "$1" != *solvane* && "$1" != *ftpack* ]]' _ "$depends"
check "Section science" test "$(dpkg-deb -f "$deb" Section)" = science

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch"
for f in usr/share/man/man1/kestrum.1.gz usr/share/man/man1/kestrum-cli.1.gz \
         usr/share/doc/kestrum/changelog.gz; do
  check "$f is gzip" gzip -t "$scratch/$f"
done
check "copyright holds the licence" \
  grep -q "Copyright (c) 2026 the Kestrum developers. All rights reserved." \
  "$scratch/usr/share/doc/kestrum/copyright"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
