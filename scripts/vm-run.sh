#!/usr/bin/env bash
# Runs a script inside a QEMU guest (software emulation) with an ALSA sequencer: Debian's
# kernel with a busybox initramfs that loads snd-seq-dummy and snd-virmidi, this machine's root
# shared read-only over 9p, OUT_DIR shared read-write, and a fresh /tmp. Each raw MIDI device
# /dev/snd/midiC0DN is the cable end of the sequencer port "VirMIDI 0-N". The script's output
# goes to OUT_DIR/guest.log; exits with the script's status.
# Usage: scripts/vm-run.sh OUT_DIR SCRIPT [ARGUMENTS...]
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(cd "$1" && pwd)
script=$(realpath "$2")
shift 2
scripts/install-deps.sh qemu-system-x86 busybox-static alsa-utils kmod cpio python3

# Debian's kernel, unpacked (never installed) into the cache once: into a folder of this run's
# own, moved into place only when complete, while other runs wait on the lock.
cache=${KORVEL_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/korvel}/vm
mkdir -p "$cache"
exec 9>"$cache/kernel.lock"
flock 9
if [ ! -f "$cache/kernel/.complete" ]; then
  unpack=$(mktemp -d "$cache/unpack.XXXXXX")
  image=$(apt-cache depends linux-image-amd64 | sed -n 's/.*Depends: \(linux-image-[0-9].*\)/\1/p' | head -n 1)
  (cd "$unpack" && apt-get download -qq "$image" >/dev/null)
  dpkg-deb -x "$unpack"/"$image"_*.deb "$unpack/kernel"
  depmod -b "$unpack/kernel" "$(ls "$unpack/kernel/lib/modules" | head -n 1)"
  touch "$unpack/kernel/.complete"
  rm -rf "$cache/kernel"
  mv "$unpack/kernel" "$cache/kernel"
  rm -rf "$unpack"
fi
flock -u 9
version=$(ls "$cache/kernel/lib/modules" | head -n 1)

# The initramfs: busybox, the modules in the order they load, and an init that mounts the
# shares and runs the script.
initramfs=$(mktemp -d)
trap 'rm -rf "$initramfs"' EXIT
mkdir -p "$initramfs"/{bin,modules,proc,sys,dev,host}
cp /bin/busybox "$initramfs/bin/busybox"
for module in snd-seq-dummy snd-virmidi virtio_pci 9pnet_virtio 9p; do
  modprobe -d "$cache/kernel" -S "$version" --show-depends "$module" | awk '{print $2}'
done | awk '!seen[$0]++' >"$initramfs/order"
while read -r module; do
  cp "$module" "$initramfs/modules/"
done <"$initramfs/order"
sed -i 's|.*/||' "$initramfs/order"
printf '%q ' "$@" >"$initramfs/arguments"
cat >"$initramfs/init" <<INIT
#!/bin/busybox sh
/bin/busybox --install -s /bin
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
ln -s /proc/self/fd /dev/fd
for module in \$(cat /order); do insmod /modules/\$module; done
mount -t 9p -o trans=virtio,version=9p2000.L,ro host /host
mount -t tmpfs tmp /host/tmp
mount -t tmpfs run /host/run
mkdir -p /host$out
mount -t 9p -o trans=virtio,version=9p2000.L,msize=512000 out /host$out
mount --bind /dev /host/dev
mkdir -p /host/dev/shm && mount -t tmpfs shm /host/dev/shm
mount -t proc proc /host/proc
mount -t sysfs sys /host/sys
chroot /host /bin/bash -c "exec /bin/bash $script \$(cat /arguments)" >/host$out/guest.log 2>&1
echo \$? >/host$out/status
poweroff -f
INIT
chmod +x "$initramfs/init"
(cd "$initramfs" && find . | cpio -o -H newc --quiet | gzip -1) >"$out/initramfs.gz"

rm -f "$out/status"
timeout "${KORVEL_VM_SECONDS:-900}" qemu-system-x86_64 -accel tcg -m "${KORVEL_VM_MEMORY:-1024}" \
  -smp 2 -nographic -no-reboot \
  -kernel "$cache/kernel/boot/vmlinuz-$version" -initrd "$out/initramfs.gz" \
  -append "console=ttyS0 quiet panic=-1" \
  -fsdev local,id=host,path=/,security_model=none,readonly=on,multidevs=remap \
  -device virtio-9p-pci,fsdev=host,mount_tag=host \
  -fsdev local,id=out,path="$out",security_model=none \
  -device virtio-9p-pci,fsdev=out,mount_tag=out >"$out/console.log" 2>&1 || true
cat "$out/guest.log" 2>/dev/null || { tail -30 "$out/console.log" >&2; }
[ "$(cat "$out/status" 2>/dev/null)" = 0 ]
