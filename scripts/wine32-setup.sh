#!/usr/bin/env bash
# Prepares, inside the build tree, a 32-bit Wine that runs under QEMU's user-mode emulator, so the i686
# release build can be tested on a kernel without 32-bit x86 support. Debian's i386 Wine packages at the
# installed 64-bit Wine's version and qemu-user-static are downloaded and unpacked, never installed; only
# "dpkg --add-architecture i386 && apt-get update" touch the system, so that apt can list i386 packages.
# Idempotent: a finished folder with the same Wine version is kept. The LAST line printed is the folder
# holding `wine` (32-bit programs), `wine64` (64-bit programs, and the prefix: `wine64 wineboot -i`) and
# `wineserver`; put it first on PATH.
#   scripts/wine32-setup.sh            into build/wine32 (WHIRLBOX_WINE32 sets another folder)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out=$(mkdir -p "${WHIRLBOX_WINE32:-$here/../build/wine32}" && cd "${WHIRLBOX_WINE32:-$here/../build/wine32}" && pwd)
root="$out/root"      # the unpacked i386 packages
bin="$out/lib/wine"   # the folder printed; its ../ and ../../share mirror /usr/lib/wine's
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

version=$(dpkg-query -W -f='${Version}' wine64)
stamp="wine $version setup $(cat "$0" "$here/wine32/qemu_fixes.c" | sha256sum | cut -c1-16)"
if [ -f "$out/ready" ] && [ "$(cat "$out/ready")" = "$stamp" ] && [ -x "$bin/wine" ]; then
  echo "$bin"
  exit 0
fi
rm -f "$out/ready"
say() { echo "wine32-setup: $*" >&2; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  say "adding the i386 architecture so that apt lists its packages"
  "${sudo_cmd[@]}" dpkg --add-architecture i386
  "${sudo_cmd[@]}" apt-get update -qq
fi
# The i386 closure of the 32-bit Wine: what apt would install (its amd64 upgrades are not wanted here).
closure() {
  apt-get -s install --no-install-recommends "wine32:i386=$version" "libwine:i386=$version" libfreetype6:i386 |
    sed -n 's/^Inst \([^ ]*:i386\) \(\[[^]]*\] \)\?(\([^ ]*\) .*/\1=\3/p'
}
packages=$(closure) || true
if [ -z "$packages" ]; then
  "${sudo_cmd[@]}" apt-get update -qq
  packages=$(closure)
fi
[ -n "$packages" ] || { say "apt lists no i386 Wine $version"; exit 1; }

mkdir -p "$out/debs"
cd "$out/debs"
wanted=()
for p in $packages; do
  name=${p%%:i386=*} ver=${p#*=}
  [ -f "${name}_${ver/:/%3a}_i386.deb" ] || wanted+=("$p")
done
ls qemu-user-static_*_amd64.deb >/dev/null 2>&1 || wanted+=(qemu-user-static)
if [ ${#wanted[@]} -gt 0 ]; then
  say "downloading ${#wanted[@]} packages"
  apt-get download -qq "${wanted[@]}" 2>&1 | grep -v 'unsandboxed' >&2 || true
fi

say "unpacking $(echo "$packages" | wc -w) i386 packages"
rm -rf "$root" "$out/lib" "$out/share" "$out/qemu"
mkdir -p "$root"
for p in $packages; do
  name=${p%%:i386=*} ver=${p#*=}
  dpkg-deb -x "${name}_${ver/:/%3a}_i386.deb" "$root"
done
# qemu-user-static is unpacked, not installed: installing it would register binfmt handlers.
mkdir -p "$out/qemu"
dpkg-deb --fsys-tarfile qemu-user-static_*_amd64.deb | tar -x -C "$out/qemu" ./usr/bin/qemu-i386-static
# The root's own library cache: without one the emulated loader reads the host's, which may name the
# host's /lib32 libraries in place of the root's.
echo 'include /etc/ld.so.conf.d/*.conf' > "$root/etc/ld.so.conf"
/sbin/ldconfig -r "$root"
# Debian ships the i386 zlib1.dll, which user32.dll needs, inside the amd64 libwine.
cp /usr/lib/x86_64-linux-gnu/wine/i386-windows/zlib1.dll "$root/usr/lib/i386-linux-gnu/wine/i386-windows/"

say "building the preload library"
libc=$(ls "$root"/lib/i386-linux-gnu/libc.so.6 "$root"/usr/lib/i386-linux-gnu/libc.so.6 2>/dev/null | head -n 1 || true)
gcc -m32 -O2 -fPIC -ffreestanding -fno-stack-protector -Wall -Wextra -Werror \
  -c "$here/wine32/qemu_fixes.c" -o "$out/qemu_fixes.o"
mkdir -p "$root/usr/local/lib"
ld -m elf_i386 -shared -o "$root/usr/local/lib/whirlbox_qemu_fixes.so" "$out/qemu_fixes.o" "$libc"
# Only the emulated loader reads the root's etc/ld.so.preload.
echo /usr/local/lib/whirlbox_qemu_fixes.so > "$root/etc/ld.so.preload"

# Wine 8.0 finds its sibling loaders only in the folder of /proc/self/exe: wine64 is a copy (not a link)
# of the 64-bit loader, wine runs the 32-bit loader through the emulator, wineserver is the installed one.
mkdir -p "$bin" "$out/share"
cp /usr/lib/wine/wine64 "$bin/wine64"
cp "$root/usr/lib/wine/wine" "$bin/wine.i386"
cp "$out/qemu/usr/bin/qemu-i386-static" "$bin/qemu-i386-static"
ln -s /usr/lib/wine/wineserver64 "$bin/wineserver"
ln -s /usr/lib/x86_64-linux-gnu "$out/lib/x86_64-linux-gnu"
ln -s "$root/usr/lib/i386-linux-gnu" "$out/lib/i386-linux-gnu"
ln -s /usr/share/wine "$out/share/wine"
cat > "$bin/wine" <<EOF
#!/bin/sh
# Debian's 32-bit Wine loader under QEMU's user-mode emulator (made by scripts/wine32-setup.sh). Wine must
# not re-execute itself: the kernel refuses 32-bit programs.
export WINELOADERNOEXEC=1
exec "$bin/qemu-i386-static" -L "$root" -0 "$bin/wine" "$bin/wine.i386" "\$@"
EOF
chmod +x "$bin/wine"
echo "$stamp" > "$out/ready"
say "ready: $(du -sh "$out" | cut -f1) in $out"
echo "$bin"
