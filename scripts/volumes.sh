#!/usr/bin/env bash
# The test bed of real file systems: small FAT32, exFAT and NTFS images mounted through their FUSE
# drivers, a read-only bind mount and a plain folder of the host's own file system, all inside one
# folder of the build tree, for the Windows and GUI tests to hold the program to what each keeps.
#   scripts/volumes.sh up [FOLDER]     makes and mounts what is missing (default build/volumes)
#   scripts/volumes.sh down [FOLDER]   unmounts everything and removes the folder
# Each kind that cannot be made gets one line saying what is missing; its tests then fail for want
# of the mount, the others run. Needs root (mount, losetup) and /dev/fuse.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
action=${1:-}
dir=${2:-$root/build/volumes}
images=$dir/.images

mounted() { mountpoint -q "$1" 2>/dev/null; }

say() { echo "volumes: $*" >&2; }

need() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null 2>&1 || PATH=$PATH:/usr/sbin:/sbin command -v "$tool" >/dev/null 2>&1 || {
      echo "$tool is missing (scripts/setup.sh installs it)" >&2
      return 1
    }
  done
}

fresh_image() {
  rm -f "$images/$kind.img"
  truncate -s "$1" "$images/$kind.img"
}

up_fat32() {
  need mkfs.vfat fusefat || return 1
  [ -e /dev/fuse ] || { echo "no /dev/fuse" >&2; return 1; }
  fresh_image 40M && mkfs.vfat -F 32 "$images/$kind.img" >/dev/null && fusefat -o rw+ "$images/$kind.img" "$dir/$kind"
}

up_exfat() {
  need mkfs.exfat mount.exfat-fuse losetup || return 1
  [ -e /dev/fuse ] || { echo "no /dev/fuse" >&2; return 1; }
  local loop
  fresh_image 16M && mkfs.exfat "$images/$kind.img" >/dev/null || return 1
  # The driver wants a block device.
  loop=$(losetup -f --show "$images/$kind.img" 2>/dev/null) || { echo "no free loop device" >&2; return 1; }
  echo "$loop" >"$images/$kind.loop"
  mount.exfat-fuse "$loop" "$dir/$kind" >/dev/null 2>&1
}

up_ntfs-3g() {
  need mkntfs ntfs-3g || return 1
  [ -e /dev/fuse ] || { echo "no /dev/fuse" >&2; return 1; }
  fresh_image 16M && mkntfs -F -f -q "$images/$kind.img" >/dev/null 2>&1 && ntfs-3g "$images/$kind.img" "$dir/$kind"
}

up_readonly() {
  # One file, last written 2003-10-11 04:13:15 UTC, for the tests to show and fail to change.
  mkdir -p "$images/readonly-source" && : >"$images/readonly-source/kept.txt" &&
    touch -d @1065845595 "$images/readonly-source/kept.txt" &&
    mount --bind "$images/readonly-source" "$dir/$kind" && mount -o remount,bind,ro "$dir/$kind"
}

up() {
  mkdir -p "$dir" "$images" "$dir/ext4"
  for kind in fat32 exfat ntfs-3g readonly; do
    mkdir -p "$dir/$kind"
    mounted "$dir/$kind" && continue
    if ! "up_$kind" 2>"$images/$kind.log" || ! mounted "$dir/$kind"; then
      msg=$(tail -n 1 "$images/$kind.log" 2>/dev/null)
      say "$kind not mounted${msg:+: $msg}"
      # No folder at all, so that its tests say the volume is missing rather than test the host's.
      rmdir "$dir/$kind" 2>/dev/null
    fi
  done
  return 0
}

down() {
  local kind loop
  [ -d "$dir" ] || return 0
  for kind in fat32 exfat ntfs-3g readonly; do
    if mounted "$dir/$kind"; then
      umount "$dir/$kind" 2>/dev/null || umount -l "$dir/$kind" 2>/dev/null || say "cannot unmount $dir/$kind"
    fi
    if [ -f "$images/$kind.loop" ]; then
      loop=$(cat "$images/$kind.loop")
      # A FUSE driver lets go of its device a moment after the unmount.
      for _ in 1 2 3 4 5; do losetup -d "$loop" 2>/dev/null && break; sleep 0.2; done
      rm -f "$images/$kind.loop"
    fi
  done
  # Only what is no longer mounted goes: never a file of a volume that could not be unmounted.
  for kind in fat32 exfat ntfs-3g readonly; do mounted "$dir/$kind" && return 1; done
  rm -rf "$dir"
}

# fusefat turns times into FAT's local time with its own zone and back inconsistently: mounted in a
# zone other than UTC, every stamp read back is off by the zone's offset. The drivers run in UTC.
export TZ=UTC

case $action in
  up) up ;;
  down) down ;;
  *)
    echo "usage: scripts/volumes.sh up|down [FOLDER]" >&2
    exit 2
    ;;
esac
