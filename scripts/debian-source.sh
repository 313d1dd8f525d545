#!/usr/bin/env bash
# Fetches a Debian source package of the machine's own suite into DEST through an apt state of
# its own in WORK, so that the machine's own sources list is left as it is.
# Usage: scripts/debian-source.sh PACKAGE[=VERSION] DEST WORK
set -euo pipefail
package=$1
dest=$2
work=$3

apt_dir="$work/apt"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$work/fetch"
suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
echo "deb-src http://deb.debian.org/debian $suite main" >"$apt_dir/sources.list"
apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=-"
  -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
  -o "APT::Sandbox::User=$(id -un)")
apt-get "${apt_options[@]}" update -qq
# dpkg-source's warnings about Debian's own patches are kept out of sight unless it fails.
(cd "$work/fetch" && apt-get "${apt_options[@]}" source -qq "$package" >"$work/source.log" 2>&1) ||
  { cat "$work/source.log" >&2; exit 1; }
rm -rf "$dest"
mv "$(find "$work/fetch" -mindepth 1 -maxdepth 1 -type d | head -n 1)" "$dest"
rm -rf "$work/fetch"
