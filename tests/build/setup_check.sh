#!/usr/bin/env bash
# The set-up against stand-ins for apt-get, dpkg and id, first on PATH: a
# mirror whose security index fails, a 32-bit Wine that cannot be installed.
# The set-up names the index once and goes on, installs the rest, leaves no
# i386 architecture behind, and the probe takes the x86-64 path with apt's
# reason. A package every host needs that cannot be installed stops it.
# setup_check.sh SOURCE_DIR
set -u
src=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0
no() { echo "$*"; fail=1; }
mkdir "$work/bin"
# State of the stand-ins: installed packages, foreign architectures, calls.
cat >"$work/bin/apt-get" <<'STAND_IN'
#!/bin/bash
echo "apt-get $*" >>"$STATE/calls"
if [ "$1" = update ]; then
  echo "E: Failed to fetch http://deb.example/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"
  echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
  exit 100
fi
for package in "$@"; do
  case " $UNINSTALLABLE " in *" $package "*)
    echo "E: Package '$package' has no installation candidate"; exit 100 ;; esac
done
[ "$2" = -s ] || printf '%s\n' "$@" | grep -v '^-' | grep -vx install >>"$STATE/installed"
STAND_IN
cat >"$work/bin/dpkg" <<'STAND_IN'
#!/bin/bash
touch "$STATE/arch" "$STATE/installed"
case $1 in
  -s) shift
      for package in "$@"; do
        case " $MISSING " in *" $package "*) grep -qx "$package" "$STATE/installed" || exit 1 ;; esac
      done ;;
  --print-foreign-architectures) cat "$STATE/arch" ;;
  --add-architecture) echo "$2" >>"$STATE/arch"; echo "added $2" >>"$STATE/calls" ;;
  --remove-architecture) grep -vx "$2" "$STATE/arch" >"$STATE/arch.new"; mv "$STATE/arch.new" "$STATE/arch"
      echo "removed $2" >>"$STATE/calls" ;;
esac
STAND_IN
printf '#!/bin/sh\necho 0\n' >"$work/bin/id"
chmod +x "$work/bin/"*

# run NAME MISSING UNINSTALLABLE: setup.sh on a host that runs 32-bit code.
run() {
  mkdir "$work/$1"
  STATE=$work/$1 KESTREL_STATE_DIR=$work/$1 MISSING=$2 UNINSTALLABLE=$3 PATH="$work/bin:$PATH" \
    kestrel_host_32bit=yes KESTREL_64BIT_ONLY=0 KESTREL_APT_PAUSE=0 \
    bash "$src/scripts/setup.sh" >"$work/$1/out" 2>&1
}

run degrades "wine wine64 wine32:i386" "wine32:i386"
code=$?
[ $code = 0 ] || no "setup stopped ($code) for a 32-bit Wine that cannot be installed"
[ "$(grep -c 'warning: apt-get update failed' "$work/degrades/out")" = 2 ] ||
  no "each update's failing index is not named once"
grep -q 'indexes it has: Failed to fetch http://deb.example/debian-security/.*Mirror sync in progress?$' \
  "$work/degrades/out" || no "the warning does not name the index"
[ "$(grep -c '^apt-get update' "$work/degrades/calls")" = 6 ] || no "an update is not tried three times"
grep -qx wine64 "$work/degrades/installed" || no "the 64-bit Wine was not installed"
[ "$(grep -E '^(added|removed)' "$work/degrades/calls" | paste -sd ' ')" = "added i386 removed i386" ] ||
  no "the i386 architecture is not added for the 32-bit Wine alone"
reason=$(STATE=$work/degrades KESTREL_STATE_DIR=$work/degrades MISSING=wine32:i386 PATH="$work/bin:$PATH" \
  kestrel_host_32bit=yes KESTREL_64BIT_ONLY=0 bash -c \
  ". '$src/scripts/host_kind.sh'; host_runs_32bit && echo 32-bit; host_kind_reason")
[ "$reason" = "the 32-bit Wine could not be installed: Package 'wine32:i386' has no installation candidate" ] ||
  no "the probe says: $reason"

run stops "wine wine64 wine32:i386" "wine"
code=$?
[ $code = 1 ] || no "setup went on ($code) without a package every host needs"
grep -q "^  wine: Package 'wine' has no installation candidate" "$work/stops/out" ||
  no "setup does not name the package and apt's reason"
grep -q '^added' "$work/stops/calls" && no "the 32-bit Wine was tried after the set-up stopped"
[ $fail = 0 ] || { cat "$work"/*/out; exit 1; }
echo "a set-up that names the failing index and takes the x86-64 path: $reason"
