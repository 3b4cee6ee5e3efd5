#!/usr/bin/env bash
# The 32-bit exe has no stack probes, so no frame may need one: a copy of
# the sources with a 6,000-byte frame in an action must fail to build, and
# say why. frame_guard.sh SOURCE_DIR TOOLCHAIN_FILE
set -u
src=$1 toolchain=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/src"
(cd "$src" && git ls-files -z --cached --others --exclude-standard) |
  (cd "$src" && tar --null -T - -cf -) | tar -xf - -C "$work/src"
action=$work/src/dialog/advanced_mode.cpp
grep -q '^void SwitchAdvancedMode(HWND window) {$' "$action" || { echo "the action to change is not there"; exit 1; }
sed -i 's/^void SwitchAdvancedMode(HWND window) {$/static void BigFrame(HWND window) {\n  char big[6000];\n  GetDlgItemTextA(window, 1, big, sizeof big);\n  SetDlgItemTextA(window, 2, big);\n}\n&\n  BigFrame(window);/' "$action"
cmake -S "$work/src" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$work/src/${toolchain#"$src"/}" \
  -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null || { echo "configure failed"; exit 1; }
if output=$(cmake --build "$work/build" --target kestrel 2>&1); then
  echo "a 6,000-byte frame built: nothing guards the stack"
  exit 1
fi
grep -E "frame size of 6000 bytes|__chkstk" <<<"$output" || { echo "failed for another reason:"; echo "$output" | tail -20; exit 1; }
echo "the build refuses a frame that would need a stack probe"
