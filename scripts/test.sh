#!/usr/bin/env bash
# Runs every test: the portable core on the host (AddressSanitizer, UBSan),
# then the real kestrel.exe under Wine in Xvfb, in a fresh prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

cmake --preset host >/dev/null
cmake --build --preset host
cmake --preset windows >/dev/null
cmake --build --preset windows

. scripts/wine_session.sh
trap wine_session_end EXIT
wine_session_display --own
wine_session_prefix "$PWD/build/windows/test-prefix" --fresh

status=0
ctest --preset host || status=1
ctest --preset windows || status=1
exit $status
