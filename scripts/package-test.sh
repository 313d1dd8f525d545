#!/usr/bin/env bash
# Makes the Debian package, checks it with lintian, and installs it with apt-get into a fresh
# Debian root (debootstrap, minbase), where both programs must run.
# Usage: scripts/package-test.sh [BUILD]  (BUILD holds korvel_make_dump; "build" unless given)
set -euo pipefail
cd "$(dirname "$0")/.."
root_dir=$(pwd)
tools=${1:-build}

scripts/install-deps.sh debootstrap lintian dpkg-dev
out="$root_dir/build-package"

echo "== Package"
cmake -S . -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DKORVEL_BUILD_TESTS=OFF >/dev/null
cmake --build "$out" -j "$(nproc)"
rm -f "$out"/korvel_*.deb
(cd "$out" && cpack -G DEB >/dev/null)
deb=$(ls "$out"/korvel_*_amd64.deb)
echo "made $(basename "$deb")"
if ! lintian --fail-on error "$deb" >"$out/lintian.txt" 2>&1; then
  cat "$out/lintian.txt"
  echo "lintian reports errors" >&2
  exit 1
fi
grep -v '^running with root privileges' "$out/lintian.txt" || true

echo "== Install into a fresh Debian root"
if [ ! -x "$tools/tests/korvel_make_dump" ]; then
  cmake --build "$tools" --target korvel_make_dump
fi
suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
system="$out/root"
rm -rf "$system"
debootstrap --variant=minbase "$suite" "$system" http://deb.debian.org/debian >"$out/debootstrap.log"
cp /etc/resolv.conf "$system/etc/resolv.conf"
cp "$deb" "$system/tmp/"
"$tools/tests/korvel_make_dump" "$system/tmp/dump.syx"
inside() {
  chroot "$system" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
    DEBIAN_FRONTEND=noninteractive "$@"
}
inside apt-get update -qq
inside apt-get install -y -qq "/tmp/$(basename "$deb")" >"$out/install.log" 2>&1 ||
  { cat "$out/install.log"; exit 1; }
inside korvel-cli --version
inside korvel-cli tree /tmp/dump.syx >"$out/tree.txt"
head -n 3 "$out/tree.txt"
inside korvel --version
for file in /usr/share/man/man1/korvel.1.gz /usr/share/man/man1/korvel-cli.1.gz \
  /usr/share/bash-completion/completions/korvel-cli /usr/share/applications/korvel.desktop; do
  test -s "$system$file"
done
rm -rf "$system"
echo "the package installs and runs in a fresh root"
