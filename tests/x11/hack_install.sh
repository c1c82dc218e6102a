#!/usr/bin/env bash
# The installed hack: `cmake --install` lays out the program, its XScreenSaver settings file, the
# samples and the man page; the installed program finds its samples without any settings file, the
# user's default file when there is one, and takes --size over either; cpack makes the Debian
# package with its library dependencies.
#   hack_install.sh <build folder> <whirlbox-tool> <source folder>
set -u
build=$1 tool=$2 src=$3
. "$src/tests/x11/hack_helpers.sh"
prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }
hack="$prefix/libexec/xscreensaver/whirlbox"
samples="$prefix/share/whirlbox/samples"
for file in libexec/xscreensaver/whirlbox share/xscreensaver/config/whirlbox.xml share/man/man6/whirlbox.6 \
            share/whirlbox/samples/face1.bmp share/whirlbox/samples/face6.gif; do
  [ -f "$prefix/$file" ] && pass "installed $file" || fail "not installed: $file"
done
python3 - "$prefix/share/xscreensaver/config/whirlbox.xml" <<'PY' && pass "whirlbox.xml: six files, two sliders" || fail "whirlbox.xml"
import sys, xml.etree.ElementTree as tree
root = tree.parse(sys.argv[1]).getroot()
files = [f.get("arg") for f in root.iter("file")]
sliders = {n.get("id"): (n.get("low"), n.get("high"), n.get("default")) for n in root.iter("number")}
assert root.get("name") == "whirlbox", root.get("name")
assert files == ["--face%d %%" % k for k in range(1, 7)], files
assert sliders == {"size": ("0", "100", "50"), "speed": ("0", "100", "50")}, sliders
PY

# What each start must show, from settings files naming the installed samples.
settings() {  # <file> <size> <speed>
  mkdir -p "$(dirname "$1")"
  printf '%s\n' "$samples"/face1.bmp "$samples"/face2.gif "$samples"/face3.jpg "$samples"/face4.jpg \
    "$samples"/face5.bmp "$samples"/face6.gif "$2 $3" >"$1"
}
settings "$work/plain.ini" 50 50
settings "$work/xdg/whirlbox/whirlbox.ini" 10 50
settings "$work/large.ini" 90 50
for name in plain large; do
  "$tool" render --view 800x600 --frames 1-80 --out "$work/$name" --settings "$work/$name.ini" >/dev/null || fail "render $name"
done
"$tool" render --view 800x600 --frames 1-80 --out "$work/xdg-frames" --settings "$work/xdg/whirlbox/whirlbox.ini" \
  >/dev/null || fail "render xdg"

start_xvfb -noreset -screen 0 800x600x24 -nolisten tcp || exit 1
mkdir -p "$work/home"
check() {  # <what> <frames> <env...> -- <args...>
  local what=$1 frames=$2
  shift 2
  local envs=()
  while [ "$1" != -- ]; do envs+=("$1"); shift; done
  shift
  env -u XDG_CONFIG_HOME HOME="$work/home" "${envs[@]}" "$hack" -root "$@" &
  local pid=$!
  wait_for_pixels $pid 800x600+0+0 || fail "$what: nothing drawn"
  match_captures "$what" "$frames" 0,0
  kill -TERM $pid
  wait $pid
}
check samples "$work/plain" -- 
check xdg-default "$work/xdg-frames" XDG_CONFIG_HOME="$work/xdg" --
check size-override "$work/large" XDG_CONFIG_HOME="$work/xdg" -- --size 90
stop_xvfb

# The Debian package.
(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null 2>&1) || fail "cpack"
deb=$(ls "$work"/package/whirlbox_*_amd64.deb 2>/dev/null | head -n 1)
if [ -n "$deb" ]; then
  pass "package $(basename "$deb")"
  depends=$(dpkg-deb -f "$deb" Depends)
  [[ $depends == *libx11-6* && $depends == *libxext6* ]] && pass "Depends: $depends" || fail "Depends: $depends"
  dpkg-deb -c "$deb" >"$work/contents.txt"
  grep -q ' ./usr/libexec/xscreensaver/whirlbox$' "$work/contents.txt" && pass "package holds the hack" ||
    fail "package lacks usr/libexec/xscreensaver/whirlbox"
else
  fail "cpack made no whirlbox_<version>_amd64.deb"
fi
echo "$failures failure(s)"
[ $failures -eq 0 ]
