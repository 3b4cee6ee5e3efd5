#!/usr/bin/env bash
# Two clean builds of the same sources, copied to two folders of different
# names and lengths, give a byte-identical kestrel.exe, and the same bytes as
# the build under test: no time, folder or build path gets into the file.
# same_bytes.sh SOURCE_DIR TOOLCHAIN_FILE EXE_UNDER_TEST EPOCH
# EPOCH is the time stamp the tested exe was built with (empty: none).
set -u
src=$1 toolchain=$2 tested=$3 epoch=$4
# The sources to copy are what git tracks: sources that came without their
# history (an archive) cannot say which files those are.
if ! command -v git >/dev/null || ! git -C "$src" rev-parse --git-dir >/dev/null 2>&1; then
  echo "skipped: $src is not a git checkout, so which files are the sources is unknown"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
exes=()
for dir in a "second build/with a longer path"; do
  mkdir -p "$work/$dir/src"
  # What git tracks, and new files not yet added, as they are in the tree.
  (cd "$src" && git ls-files -z --cached --others --exclude-standard) |
    (cd "$src" && tar --null -T - -cf -) | tar -xf - -C "$work/$dir/src"
  toolchain_copy=$work/$dir/src/${toolchain#"$src"/}
  SOURCE_DATE_EPOCH=$epoch cmake -S "$work/$dir/src" -B "$work/$dir/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain_copy" -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null ||
    { echo "configure failed in $dir"; exit 1; }
  cmake --build "$work/$dir/build" --target kestrel >/dev/null || { echo "build failed in $dir"; exit 1; }
  exes+=("$work/$dir/build/kestrel.exe")
done
fail=0
for exe in "${exes[1]}" "$tested"; do
  if ! cmp "${exes[0]}" "$exe"; then fail=1; fi
done
for exe in "${exes[@]}"; do
  if strings -a "$exe" | grep -F -e "$work" -e "$src"; then echo "a build path is in $exe"; fail=1; fi
done
echo "sha256 of the two builds and the tested one:"
sha256sum "${exes[@]}" "$tested"
exit $fail
