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
#                                         which toolchain versions differ, whether the exe
#                                         and the zip are the same bytes, whether SHA256SUMS
#                                         gives their hashes and whether the signature chains
#                                         to a trusted root. Exit 0: all of it holds (or the
#                                         release is unsigned); 1: a file or a hash differs;
#                                         2: the same bytes, but the signature does not chain;
#                                         3: nothing could be checked (see its line)
#
# With KESTREL_SIGN_PFX (a PKCS#12 file; its password in KESTREL_SIGN_PASS_FILE, and
# KESTREL_SIGN_TIMESTAMP_URL when a time stamp is wanted) the exe is signed (Authenticode,
# SHA-256). --verify attaches the published signature to its own build, so a signed release
# is checked byte for byte too, and asks whether it chains to the system's certificates, or
# to those in KESTREL_SIGN_CAFILE. It installs (as root) or names only what a rebuild
# needs. Every build of one commit with one toolchain gives the same bytes: the exe's time
# stamp and the zip's dates are the commit's.
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
  version=$(sed -nE 's/^#define KESTREL_VERSION ([0-9]+), ([0-9]+), ([0-9]+), ([0-9]+)$/\1.\2.\3.\4/p' \
    "$work/src/res/version.h")
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
  # DIST comes from anywhere: CRLF read as LF, and nothing but printable
  # characters of it reaches the terminal.
  read_dist() { { tr -d '\r' <"$from/$1" || true; } 2>/dev/null | tr -cd '[:print:]\n'; }
  buildinfo=$(read_dist BUILDINFO)
  sums=$(read_dist SHA256SUMS)
  commit=$(sed -n 's/^commit \([0-9a-f]\{40\}\)$/\1/p' <<<"$buildinfo")
  epoch=$(sed -n 's/^date \([0-9]\{1,\}\) .*/\1/p' <<<"$buildinfo")
  [ -n "$commit" ] && [ -n "$epoch" ] ||
    { echo "verify: $from/BUILDINFO names no commit and date" >&2; exit 3; }
  git -C "$top" cat-file -e "$commit^{commit}" 2>/dev/null ||
    { echo "verify: commit $commit is not in this repository" >&2; exit 3; }
  bash scripts/setup.sh --rebuild || exit 3
  echo "verify: rebuilding $commit"
  differs=$(diff <(sed -n '/^toolchain:$/,$p' <<<"$buildinfo" | tail -n +2) <(toolchain) |
    sed -n 's/^< /  release: /p; s/^> /  here:    /p' || true)
  if [ -n "$differs" ]; then echo "verify: the toolchain differs:"$'\n'"$differs"; else
    echo "verify: the same toolchain versions"; fi
  build "$commit"
  status=0 chains=yes
  if [ -f "$from/kestrel.exe.sig" ]; then
    # attach-signature checks the chain too, and stops without a trust store
    # it can load: the signature's own certificates serve it, and the verdict
    # on the chain is verify's.
    # (osslsigncode 2.9 writes the PKCS#7 alone, 2.5 behind an 8-byte header.)
    openssl pkcs7 -inform DER -in "$from/kestrel.exe.sig" -print_certs -out "$work/own.pem" \
      >/dev/null 2>&1 ||
      tail -c +9 "$from/kestrel.exe.sig" |
      openssl pkcs7 -inform DER -print_certs -out "$work/own.pem" >/dev/null 2>&1 || true
    osslsigncode attach-signature -sigin "$from/kestrel.exe.sig" -CAfile "$work/own.pem" \
      -in "$exe" -out "$work/signed.exe" >/dev/null 2>&1 || true
    if [ -s "$work/signed.exe" ]; then
      exe=$work/signed.exe
      check=(verify -in "$exe")
      [ -z "${KESTREL_SIGN_CAFILE:-}" ] || check+=(-CAfile "$KESTREL_SIGN_CAFILE")
      trusted=${KESTREL_SIGN_CAFILE:-the system\'s certificates}
      if osslsigncode "${check[@]}" >"$work/chain.log" 2>&1; then
        echo "verify: the signature is attached and chains to a trusted root ($trusted)"
      else
        why=$(sed -n 's/^[[:space:]]*Error: //p' "$work/chain.log" | head -n 2 | paste -sd ';' |
          sed 's/;/; /g' | tr -cd '[:print:]')
        echo "verify: the signature is attached but does not chain to a trusted root ($trusted): ${why:-osslsigncode verify failed}"
        chains=no
      fi
    else
      echo "verify: kestrel.exe.sig cannot be attached to this build"
      status=1
    fi
  else
    echo "verify: the release is unsigned"
  fi
  mkdir "$work/rebuilt"
  package "$work/rebuilt"
  rebuilt_exe=$(sha256sum "$exe" | cut -d' ' -f1)
  rebuilt_zip=$(sha256sum "$work/rebuilt/$name.zip" | cut -d' ' -f1)
  if cmp -s "$from/$name.zip" "$work/rebuilt/$name.zip"; then
    echo "verify: $name.zip is byte-identical, kestrel.exe in it too ($rebuilt_exe)"
  else
    echo "verify: $name.zip is missing or differs from the rebuilt one"
    status=1
  fi
  # SHA256SUMS: each line the hash of its file.
  for line in "$rebuilt_zip  $name.zip" "$rebuilt_exe  $name/kestrel.exe"; do
    listed=$(awk -v file="${line#*  }" '$2 == file { print $1 }' <<<"$sums")
    if [ "$listed" = "${line%%  *}" ]; then
      echo "verify: SHA256SUMS gives the hash of ${line#*  }"
    else
      echo "verify: SHA256SUMS gives ${listed:-no hash} for ${line#*  }, which is ${line%%  *}"
      status=1
    fi
  done
  [ $status != 0 ] || [ $chains = yes ] || status=2
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
