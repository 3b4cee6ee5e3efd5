#!/usr/bin/env bash
# Runs a test program of one Windows build under its Wine, in that build's
# prefix: in_wine.sh win32|win64 PREFIX PROGRAM [ARGUMENTS...]
# Exits 77 (CTest's skip) with the reason where this host cannot run it.
set -u
arch=$1 prefix=$2
shift 2
. "$(dirname "$0")/../../scripts/wine_session.sh"
if [ "$arch" = win32 ] && ! host_runs_32bit; then
  echo "skipped: the 32-bit build cannot run here: $(host_kind_reason)"
  exit 77
fi
wine_session_arch "$arch"
wine_session_make_prefix "$prefix" >&2 || exit 1
wine "$@"
