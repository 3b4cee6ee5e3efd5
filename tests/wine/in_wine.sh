#!/usr/bin/env bash
# Runs a test program of one Windows build under its Wine, in that build's
# prefix: in_wine.sh win32|win64|wow64 PREFIX PROGRAM [ARGUMENTS...]
# wow64 is the 32-bit build in a 64-bit prefix, as on 64-bit Windows.
# Exits 77 (CTest's skip) with the reason where this host cannot run it.
set -u
arch=$1 prefix=$2
shift 2
. "$(dirname "$0")/../../scripts/wine_session.sh"
if [ "$arch" != win64 ] && ! host_runs_32bit; then
  echo "skipped: the 32-bit build cannot run here: $(host_kind_reason)"
  exit 77
fi
# A 64-bit prefix starts a 32-bit program through Wine's 32-bit loader.
wine_session_arch "${arch/wow64/win64}"
# What the tests must find: Windows as this prefix makes it.
export KESTREL_TEST_WINDOWS=${WINEARCH#win}
wine_session_make_prefix "$prefix" >&2 || exit 1
wine "$@"
