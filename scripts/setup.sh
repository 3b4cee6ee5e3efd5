#!/usr/bin/env bash
# Installs what building, testing and releasing Kestrel need on Debian 12 or 13,
# with package names both releases have; safe to run again.
set -euo pipefail
. "$(dirname "$0")/host_kind.sh"

need=()
command -v i686-w64-mingw32-g++-win32 >/dev/null || need+=(g++-mingw-w64-i686-win32 binutils-mingw-w64-i686)
command -v x86_64-w64-mingw32-g++-win32 >/dev/null ||
  need+=(g++-mingw-w64-x86-64-win32 binutils-mingw-w64-x86-64)
command -v cmake >/dev/null || need+=(cmake)
command -v ninja >/dev/null || need+=(ninja-build)
command -v g++ >/dev/null || need+=(g++)
command -v zip >/dev/null || need+=(zip)
command -v unzip >/dev/null || need+=(unzip)  # the release test opens its zip
command -v git >/dev/null || need+=(git)
command -v osslsigncode >/dev/null || need+=(osslsigncode)  # signs a release
command -v openssl >/dev/null || need+=(openssl)            # a throwaway certificate in its test
command -v Xvfb >/dev/null || need+=(xvfb)
command -v xwininfo >/dev/null || need+=(x11-utils)
[ -f /usr/share/wine/fonts/tahoma.ttf ] || need+=(fonts-wine)
command -v convert >/dev/null && convert -version 2>/dev/null | grep -q ImageMagick || need+=(imagemagick)
command -v clang++ >/dev/null || need+=(clang)
ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 ||
  need+=(libclang-rt-dev)  # the fuzzer runtime of the release's clang
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
[ -f /usr/lib/x86_64-linux-gnu/libgtest.a ] || need+=(libgtest-dev)

# 64-bit Wine runs the x86-64 build on every host. Its 32-bit part, from the
# i386 architecture, only where this host runs 32-bit programs at all.
dpkg -s wine wine64 >/dev/null 2>&1 || need+=(wine wine64)
if host_runs_32bit; then
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  dpkg -s wine32:i386 >/dev/null 2>&1 || need+=(wine32:i386)
fi

if [ ${#need[@]} -gt 0 ]; then
  echo "setup: installing ${need[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
fi
