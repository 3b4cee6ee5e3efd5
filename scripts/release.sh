#!/usr/bin/env bash
# A release anyone can rebuild and check.
#
#   bash scripts/release.sh               builds kestrel.exe from the last commit in a folder
#                                         of its own and writes to dist/ (KESTREL_DIST):
#     kestrel-VERSION-COMMIT.zip          kestrel.exe and a readme for Windows users
#     SHA256SUMS                          of the zip and of kestrel.exe
#     BUILDINFO                           the commit, its date and the toolchain's versions
#     kestrel.exe.sig                     the exe's signature alone, when it is signed
#   bash scripts/release.sh --verify DIST rebuilds the commit DIST/BUILDINFO names, says
#                                         which toolchain versions differ, and whether the
#                                         exe and the zip are the same bytes (exit 0 only then)
#
# With KESTREL_SIGN_PFX (a PKCS#12 file; its password in KESTREL_SIGN_PASS_FILE, and
# KESTREL_SIGN_TIMESTAMP_URL when a time stamp is wanted) the exe is signed (Authenticode,
# SHA-256). --verify attaches the published signature to its own build, so a signed release
# is checked byte for byte too; the signature must chain to the system's certificates, or
# to those in KESTREL_SIGN_CAFILE. Every build of one commit with one toolchain gives the same
# bytes: the exe's time stamp and the zip's dates are the commit's.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
dist=${KESTREL_DIST:-$top/dist}
# The toolchain whose versions make the bytes.
packages=(gcc-mingw-w64-i686-win32 g++-mingw-w64-i686-win32 binutils-mingw-w64-i686
  mingw-w64-common mingw-w64-i686-dev cmake ninja-build zip)
toolchain() { dpkg-query -W -f='${Package} ${Version}\n' "${packages[@]}" 2>/dev/null || true; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# build COMMIT: the sources of COMMIT in $work/src and its kestrel.exe built there.
build() {
  rm -rf "$work/src"
  git -C "$top" archive --format=tar "$1" | tar -xf - -C "$work" --one-top-level=src
  (
    cd "$work/src"
    export SOURCE_DATE_EPOCH=$epoch
    cmake --preset windows -DKESTREL_TESTS=OFF >/dev/null
    cmake --build --preset windows --target kestrel >/dev/null
  )
  exe=$work/src/build/windows/kestrel.exe
  version=$(sed -nE 's/^FILEVERSION ([0-9]+), ([0-9]+), ([0-9]+), ([0-9]+).*/\1.\2.\3.\4/p' \
    "$work/src/res/kestrel.rc")
  name=kestrel-$version-${1:0:12}
}

# package DIR: the zip of $exe and the readme in DIR, with fixed order, modes
# and dates, and no owner or extra time fields.
package() {
  local folder=$work/$name
  rm -rf "$folder"
  mkdir "$folder"
  cp "$exe" "$folder/kestrel.exe"
  sed 's/$/\r/' "$work/src/docs/windows-readme.txt" >"$folder/README.txt"  # Notepad's line ends
  chmod 755 "$folder"
  chmod 644 "$folder/kestrel.exe" "$folder/README.txt"
  touch -d "@$epoch" "$folder/kestrel.exe" "$folder/README.txt" "$folder"
  rm -f "$1/$name.zip"
  (cd "$work" && TZ=UTC zip -q -X -D "$1/$name.zip" "$name/kestrel.exe" "$name/README.txt")
}

if [ "${1:-}" = --verify ]; then
  from=$(cd "${2:?release.sh --verify DIST}" && pwd)
  commit=$(sed -n 's/^commit //p' "$from/BUILDINFO")
  epoch=$(sed -n 's/^date \([0-9]*\).*/\1/p' "$from/BUILDINFO")
  git -C "$top" cat-file -e "$commit^{commit}" 2>/dev/null ||
    { echo "verify: commit $commit is not in this repository" >&2; exit 2; }
  bash scripts/setup.sh
  echo "verify: rebuilding $commit"
  differs=$(diff <(sed -n '/^toolchain:$/,$p' "$from/BUILDINFO" | tail -n +2) <(toolchain) |
    sed -n 's/^< /  release: /p; s/^> /  here:    /p' || true)
  if [ -n "$differs" ]; then echo "verify: the toolchain differs:"$'\n'"$differs"; else
    echo "verify: the same toolchain versions"; fi
  build "$commit"
  if [ -f "$from/kestrel.exe.sig" ]; then
    attach=(attach-signature -sigin "$from/kestrel.exe.sig" -in "$exe" -out "$work/signed.exe")
    [ -z "${KESTREL_SIGN_CAFILE:-}" ] || attach+=(-CAfile "$KESTREL_SIGN_CAFILE")
    osslsigncode "${attach[@]}" >/dev/null || echo "verify: the signature does not fit this build"
    exe=$work/signed.exe
  fi
  mkdir "$work/rebuilt"
  package "$work/rebuilt"
  status=0
  published=$(sed -n 's/^\([0-9a-f]*\)  .*kestrel\.exe$/\1/p' "$from/SHA256SUMS")
  rebuilt=$(sha256sum "$exe" | cut -d' ' -f1)
  if [ "$published" = "$rebuilt" ]; then echo "verify: kestrel.exe is byte-identical ($rebuilt)"
  else echo "verify: kestrel.exe differs: published $published, rebuilt $rebuilt"; status=1; fi
  if cmp -s "$from/$name.zip" "$work/rebuilt/$name.zip"; then echo "verify: $name.zip is byte-identical"
  else echo "verify: $name.zip differs from the rebuilt one"; status=1; fi
  exit $status
fi

if [ -n "$(git status --porcelain)" ]; then
  echo "release: the tree has uncommitted changes; a release is built from a commit" >&2
  git status --short >&2
  exit 1
fi
bash scripts/setup.sh
commit=$(git rev-parse HEAD)
epoch=$(git log -1 --format=%ct)
build "$commit"
bash "$work/src/tests/wine/check_exe.sh" "$exe" i386
rm -rf "$dist"
mkdir -p "$dist"
if [ -n "${KESTREL_SIGN_PFX:-}" ]; then
  sign=(sign -pkcs12 "$KESTREL_SIGN_PFX" -h sha256 -n Kestrel -in "$exe" -out "$work/signed.exe")
  [ -z "${KESTREL_SIGN_PASS_FILE:-}" ] || sign+=(-readpass "$KESTREL_SIGN_PASS_FILE")
  [ -z "${KESTREL_SIGN_TIMESTAMP_URL:-}" ] || sign+=(-ts "$KESTREL_SIGN_TIMESTAMP_URL")
  osslsigncode "${sign[@]}" >/dev/null
  osslsigncode extract-signature -in "$work/signed.exe" -out "$dist/kestrel.exe.sig" >/dev/null
  exe=$work/signed.exe
fi
package "$dist"
(cd "$dist" && sha256sum "$name.zip") >"$dist/SHA256SUMS"
echo "$(sha256sum "$exe" | cut -d' ' -f1)  $name/kestrel.exe" >>"$dist/SHA256SUMS"
{
  echo "commit $commit"
  echo "date $epoch $(date -u -d "@$epoch" +%Y-%m-%dT%H:%M:%SZ)"
  echo "signed $([ -n "${KESTREL_SIGN_PFX:-}" ] && echo yes || echo no)"
  echo "toolchain:"
  toolchain
} >"$dist/BUILDINFO"
echo "release: $name, $(git log -1 --format='%cd' --date=iso-strict-local) (UTC dates)"
ls -l "$dist"
cat "$dist/SHA256SUMS"
