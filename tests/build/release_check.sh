#!/usr/bin/env bash
# A release signed with a throwaway certificate (made here with openssl: no
# network, no time stamp): its signature verifies, and --verify attaches it
# to a second build of the commit and finds the exe and the zip
# byte-identical; a zip that is not the one built fails --verify.
# release_check.sh SOURCE_DIR
set -u
src=$1
if ! command -v git >/dev/null || ! git -C "$src" rev-parse --git-dir >/dev/null 2>&1; then
  echo "skipped: $src is not a git checkout, and a release is built from a commit"
  exit 77
fi
if [ -n "$(git -C "$src" status --porcelain)" ]; then
  echo "skipped: the tree has uncommitted changes, and a release is built from a commit"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
no() { echo "$*"; fail=1; }

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Kestrel test signer" \
  -addext extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
echo "a throwaway password" >"$work/pass"
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/signer.pfx" \
  -passout "file:$work/pass"
KESTREL_DIST=$work/dist KESTREL_SIGN_PFX=$work/signer.pfx KESTREL_SIGN_PASS_FILE=$work/pass \
  bash "$src/scripts/release.sh" >"$work/release.log" 2>&1 || { cat "$work/release.log"; exit 1; }
zip=$(ls "$work"/dist/kestrel-*.zip)
commit=$(git -C "$src" rev-parse HEAD)
[ "$(basename "$zip")" = "kestrel-1.0.0.3-${commit:0:12}.zip" ] || no "the zip is named $(basename "$zip")"
grep -qx "commit $commit" "$work/dist/BUILDINFO" || no "BUILDINFO names another commit"
grep -q '^g++-mingw-w64-i686-win32 ' "$work/dist/BUILDINFO" || no "BUILDINFO has no compiler version"
[ -s "$work/dist/kestrel.exe.sig" ] || no "no kestrel.exe.sig"
(cd "$work/dist" && sha256sum -c --quiet <(grep '\.zip$' SHA256SUMS)) || no "SHA256SUMS does not match the zip"

unzip -q -d "$work/unzipped" "$zip"
osslsigncode verify -CAfile "$work/cert.pem" -in "$work"/unzipped/*/kestrel.exe >"$work/verify.log" 2>&1 ||
  { cat "$work/verify.log"; no "the signature does not verify"; }
[ "$(sha256sum "$work"/unzipped/*/kestrel.exe | cut -d' ' -f1)" = \
  "$(sed -n 's/  .*kestrel\.exe$//p' "$work/dist/SHA256SUMS")" ] || no "SHA256SUMS does not match the exe"

export KESTREL_SIGN_CAFILE=$work/cert.pem
bash "$src/scripts/release.sh" --verify "$work/dist" >"$work/rebuild.log" 2>&1 ||
  { cat "$work/rebuild.log"; no "--verify failed"; }
grep "^verify:" "$work/rebuild.log"
cp -r "$work/dist" "$work/altered"
printf x >>"$work/altered/$(basename "$zip")"
bash "$src/scripts/release.sh" --verify "$work/altered" >"$work/altered.log" 2>&1 &&
  no "--verify passed a zip that is not the one built"
grep -q "zip differs" "$work/altered.log" || no "--verify did not say the zip differs"
[ $fail = 0 ] && echo "a signed release that rebuilds to the same bytes"
exit $fail
