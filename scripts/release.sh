#!/usr/bin/env bash
# Builds kestrel.exe from the last commit in a folder of its own, checks the
# file and writes dist/kestrel-VERSION.zip (kestrel.exe and a readme for
# Windows users) and dist/SHA256SUMS. Every run at one commit writes the
# same bytes: the exe's time stamp and the zip's dates are the commit's.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -n "$(git status --porcelain)" ]; then
  echo "release: the tree has uncommitted changes; a release is built from a commit" >&2
  git status --short >&2
  exit 1
fi
bash scripts/setup.sh
version=$(sed -nE 's/^FILEVERSION ([0-9]+), ([0-9]+), ([0-9]+), ([0-9]+).*/\1.\2.\3.\4/p' res/kestrel.rc)
name=kestrel-$version
epoch=$(git log -1 --format=%ct)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

git archive --format=tar HEAD | tar -xf - -C "$work" --one-top-level=src
(
  cd "$work/src"
  export SOURCE_DATE_EPOCH=$epoch
  cmake --preset windows -DKESTREL_TESTS=OFF >/dev/null
  cmake --build --preset windows --target kestrel >/dev/null
)
exe=$work/src/build/windows/kestrel.exe
bash tests/wine/check_exe.sh "$exe" i386

# The zip: fixed order, modes and dates, no owner or extra time fields.
mkdir "$work/$name"
cp "$exe" "$work/$name/kestrel.exe"
sed 's/$/\r/' docs/windows-readme.txt >"$work/$name/README.txt"  # Notepad's line ends
chmod 755 "$work/$name"
chmod 644 "$work/$name/kestrel.exe" "$work/$name/README.txt"
touch -d "@$epoch" "$work/$name/kestrel.exe" "$work/$name/README.txt" "$work/$name"
rm -rf dist
mkdir dist
(cd "$work" && TZ=UTC zip -q -X -D "$OLDPWD/dist/$name.zip" "$name/kestrel.exe" "$name/README.txt")
(cd "$work" && sha256sum "$OLDPWD/dist/$name.zip" "$name/kestrel.exe") |
  sed "s|  $PWD/dist/|  |" >dist/SHA256SUMS
echo "release: $(git log -1 --format='%h, %cd' --date=iso-strict-local) (UTC dates)"
ls -l dist
cat dist/SHA256SUMS
