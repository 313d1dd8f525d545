#!/usr/bin/env bash
# Installs a build into a staging folder and checks what a desktop and a shell take from it:
# the desktop entry, icons and MIME type, the software centre data, the manual pages and the
# bash completion.
# Usage: scripts/installed-files-test.sh BUILD
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
share="$stage/usr/share"

desktop-file-validate "$share/applications/korvel.desktop"
for size in 16 22 24 32 48 64 128 256; do
  test -s "$share/icons/hicolor/${size}x${size}/apps/korvel.png"
done
test -s "$share/icons/hicolor/scalable/apps/korvel.svg"
grep -q '^MimeType=.*;$' "$share/applications/korvel.desktop"
# The MIME package comes along unless the system already knows *.syx.
if ! grep -q ':\*\.syx' /usr/share/mime/globs2 2>/dev/null; then
  grep -q 'pattern="\*.syx"' "$share/mime/packages/korvel-syx.xml"
fi
echo "desktop entry, MIME type and icons installed"

appstreamcli validate --no-net "$share"/metainfo/*.metainfo.xml

for page in korvel korvel-cli; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  if [ -n "$warnings" ]; then
    echo "$warnings" >&2
    exit 1
  fi
done
echo "manual pages render without warnings"

# What bash offers at a few places of a korvel-cli command line.
completion="$share/bash-completion/completions/korvel-cli"
complete_line() {
  bash -c '
    source /usr/share/bash-completion/bash_completion
    source "$1"
    COMP_LINE=$2
    COMP_POINT=${#COMP_LINE}
    read -ra COMP_WORDS <<<"$COMP_LINE"
    [[ $COMP_LINE == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _korvel_cli
    echo "${COMPREPLY[*]}"' _ "$completion" "$1"
}
test "$(complete_line 'korvel-cli ver')" = "verify"
test "$(complete_line 'korvel-cli diff a.syx b.syx --left-layout ')" = "3 6 12"
test "$(complete_line 'korvel-cli verify gig.syx --b')" = "--backup"
echo "bash completion offers commands, options and layouts"
