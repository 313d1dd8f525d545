#!/usr/bin/env bash
# Installs Korvel's Windows installer silently into a fresh Wine prefix, runs the installed
# programs, uninstalls it, and checks that nothing of it is left: no file, no registry key.
# Runs in the environment scripts/windows-test.sh sets up for Wine.
# Usage: scripts/windows-install-test.sh SETUP.exe VERSION
set -euo pipefail
setup=$1
version=$2

export WINEPREFIX="$(dirname "$setup")/wine-install"
unset WINEPATH  # the installed programs find what they need beside them
# Wine would add the Start-menu entry to the host's own menus, which are not the installer's.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
rm -rf "$WINEPREFIX"
wine wineboot --init >/dev/null 2>&1 || true
wineserver -w
snapshot() {
  (cd "$WINEPREFIX/drive_c" && find . -path ./windows -prune -o -path ./users -prune -o -print |
    sort) >"$1.files"
  cat "$WINEPREFIX"/*.reg | grep -i korvel >"$1.registry" || true
}
snapshot "$WINEPREFIX.before"

wine "$setup" /S
wineserver -w
installed="$WINEPREFIX/drive_c/Program Files/Korvel"
for file in korvel.exe korvel-cli.exe Qt6Widgets.dll platforms/qwindows.dll uninstall.exe; do
  test -f "$installed/$file" || { echo "the installer did not install $file" >&2; exit 1; }
done
test -f "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Korvel.lnk"
wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Korvel' /v DisplayVersion |
  grep -q "$version"
wine reg query 'HKLM\Software\Classes\Applications\korvel.exe\shell\open\command' >/dev/null
wine "C:\\Program Files\\Korvel\\korvel-cli.exe" --version | tr -d '\r' | grep -qx "korvel-cli $version"
wine "C:\\Program Files\\Korvel\\korvel.exe" --version | tr -d '\r' | grep -qx "Korvel $version"

wine "C:\\Program Files\\Korvel\\uninstall.exe" /S
wineserver -w
snapshot "$WINEPREFIX.after"
if ! diff "$WINEPREFIX.before.files" "$WINEPREFIX.after.files" ||
  ! diff "$WINEPREFIX.before.registry" "$WINEPREFIX.after.registry"; then
  echo "the uninstaller left something of Korvel behind" >&2
  exit 1
fi
echo "Installer: installed, ran and uninstalled without a trace"
