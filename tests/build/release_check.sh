#!/usr/bin/env bash
# A release signed with a throwaway certificate (made here with openssl: no
# network, no time stamp): its signature verifies, and --verify attaches it
# to a second build of the commit and finds the exe and the zip
# byte-identical (exit 0). Without that certificate trusted the signature does
# not chain (exit 2); a zip that is not the one built, or a wrong hash in
# SHA256SUMS, fails (exit 1); CRLF line ends change nothing.
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

# verify DIST CAFILE: --verify's exit status, its output in DIST.log.
verify() {
  KESTREL_SIGN_CAFILE=$2 bash "$src/scripts/release.sh" --verify "$1" >"$1.log" 2>&1
}
# altered NAME: a copy of the release to spoil.
altered() { cp -r "$work/dist" "$work/$1" && echo "$work/$1"; }

verify "$work/dist" "$work/cert.pem"
code=$?
grep "^verify:" "$work/dist.log"
[ $code = 0 ] || { cat "$work/dist.log"; no "--verify of the release gave $code, not 0"; }
grep -q "chains to a trusted root ($work/cert.pem)" "$work/dist.log" || no "--verify did not say the signature chains"

crlf=$(altered crlf)
sed -i 's/$/\r/' "$crlf/BUILDINFO" "$crlf/SHA256SUMS"
verify "$crlf" "$work/cert.pem" || { cat "$crlf.log"; no "--verify did not take CRLF line ends"; }

untrusted=$(altered untrusted)
verify "$untrusted" ""
code=$?
[ $code = 2 ] || { cat "$untrusted.log"; no "an untrusted signature gave $code, not 2"; }
grep -q "does not chain to a trusted root (the system's certificates): ." "$untrusted.log" ||
  no "--verify did not say why the signature does not chain"

zip_altered=$(altered zip)
printf x >>"$zip_altered/$(basename "$zip")"
verify "$zip_altered" "$work/cert.pem"
code=$?
[ $code = 1 ] || no "--verify gave $code, not 1, for a zip that is not the one built"
grep -q "zip is missing or differs" "$zip_altered.log" || no "--verify did not say the zip differs"

sums=$(altered sums)
other=$(printf 'not the zip' | sha256sum | cut -d' ' -f1)
sed -i -E "/\.zip\$/s/^[0-9a-f]{64}/$other/" "$sums/SHA256SUMS"
verify "$sums" "$work/cert.pem"
code=$?
[ $code = 1 ] || no "--verify gave $code, not 1, for a wrong zip hash in SHA256SUMS"
grep -q "SHA256SUMS gives [0-9a-f]* for $(basename "$zip"), which is" "$sums.log" ||
  { cat "$sums.log"; no "--verify did not name the wrong line of SHA256SUMS"; }
[ $fail = 0 ] && echo "a signed release that rebuilds to the same bytes"
exit $fail
