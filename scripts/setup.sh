#!/usr/bin/env bash
# Installs what building, testing and releasing Kestrel need on Debian 12 or 13,
# with package names both releases have; safe to run again.
#   setup.sh            everything: toolchains, test tools, 64-bit Wine, and the
#                       32-bit Wine where this host runs 32-bit code
#   setup.sh --rebuild  only what rebuilding a release needs (release.sh --verify)
# A mirror mid-sync does not stop it: a failing index is named and passed over,
# and a 32-bit Wine that cannot be installed leaves the x86-64 build's path
# (host_kind.sh gives the reason). Only a package every host needs stops it.
set -euo pipefail
. "$(dirname "$0")/host_kind.sh"
export DEBIAN_FRONTEND=noninteractive
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# apt's own error lines of the last command, joined, without the "E: ".
apt_errors() {
  sed -n 's/^E: //p' "$log" | grep -v '^Some index files failed to download' | paste -sd ';' |
    sed 's/;/; /g'
}

# An index that fails after three tries is named once; the rest are used.
apt_update() {
  local try
  for try in 1 2 3; do
    apt-get update -qq >"$log" 2>&1 && return 0
    [ $try = 3 ] || sleep "${KESTREL_APT_PAUSE:-5}"
  done
  echo "setup: warning: apt-get update failed, going on with the indexes it has: $(apt_errors)" >&2
}

# Which of the packages apt cannot install, each with apt's reason.
unavailable() {
  local package
  for package in "$@"; do
    apt-get install -s -y -qq --no-install-recommends "$package" >"$log" 2>&1 ||
      echo "  $package: $(apt_errors)"
  done
}

rebuild=no
[ "${1:-}" = --rebuild ] && rebuild=yes
need=()
command -v i686-w64-mingw32-g++-win32 >/dev/null || need+=(g++-mingw-w64-i686-win32 binutils-mingw-w64-i686)
command -v cmake >/dev/null || need+=(cmake)
command -v ninja >/dev/null || need+=(ninja-build)
command -v zip >/dev/null || need+=(zip)
command -v unzip >/dev/null || need+=(unzip)  # the release test opens its zip
command -v git >/dev/null || need+=(git)
command -v osslsigncode >/dev/null || need+=(osslsigncode)  # signs a release, checks a signature
command -v openssl >/dev/null || need+=(openssl)  # a signature's certificates; the test's own
[ -f /etc/ssl/certs/ca-certificates.crt ] || need+=(ca-certificates)  # the system's roots
if [ $rebuild = no ]; then
  command -v x86_64-w64-mingw32-g++-win32 >/dev/null ||
    need+=(g++-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64)
  command -v g++ >/dev/null || need+=(g++)
  command -v Xvfb >/dev/null || need+=(xvfb)
  command -v xwininfo >/dev/null || need+=(x11-utils)
  [ -f /usr/share/wine/fonts/tahoma.ttf ] || need+=(fonts-wine)
  command -v convert >/dev/null && convert -version 2>/dev/null | grep -q ImageMagick || need+=(imagemagick)
  command -v clang++ >/dev/null || need+=(clang)
  ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 ||
    need+=(libclang-rt-dev)  # the fuzzer runtime of the release's clang
  [ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
  [ -f /usr/lib/x86_64-linux-gnu/libgtest.a ] || need+=(libgtest-dev)
  # 64-bit Wine runs the x86-64 build on every host.
  dpkg -s wine wine64 >/dev/null 2>&1 || need+=(wine wine64)
fi
# The 32-bit Wine, from the i386 architecture, only where this host runs
# 32-bit code at all; its own step, so that nothing else waits on it.
wine32=no
[ $rebuild = no ] && host_runs_32bit_code && ! wine32_installed && wine32=yes

if [ ${#need[@]} -gt 0 ] || [ $wine32 = yes ]; then
  if [ "$(id -u)" != 0 ]; then
    echo "setup: missing ${need[*]}${need[*]:+ }$([ $wine32 = no ] || echo wine32:i386)" >&2
    echo "setup: run this as root to install them, or install them with apt-get" >&2
    exit 1
  fi
fi

if [ ${#need[@]} -gt 0 ]; then
  echo "setup: installing ${need[*]}"
  apt_update
  if ! apt-get install -y -qq --no-install-recommends "${need[@]}" >"$log" 2>&1; then
    reason=$(apt_errors)
    echo "setup: these packages cannot be installed, and every host needs them:" >&2
    unavailable "${need[@]}" >&2
    echo "setup: apt-get said: $reason" >&2
    exit 1
  fi
fi

if [ $wine32 = yes ]; then
  echo "setup: installing wine32:i386 (the 32-bit Wine)"
  added=no
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    added=yes
  fi
  [ $added = no ] || apt_update
  mkdir -p "$(dirname "$(wine32_reason_file)")"
  if apt-get install -y -qq --no-install-recommends wine32:i386 >"$log" 2>&1; then
    rm -f "$(wine32_reason_file)"
  else
    reason=$(apt_errors)
    echo "${reason:-apt-get install failed}" >"$(wine32_reason_file)"
    # Nothing of i386 stays behind for a Wine that is not there.
    if [ $added = yes ]; then
      dpkg --remove-architecture i386 2>/dev/null ||
        echo "setup: warning: the i386 architecture stays: some i386 package is installed" >&2
    fi
    echo "setup: $(host_kind_reason); the x86-64 build under 64-bit Wine stands in" >&2
  fi
fi
