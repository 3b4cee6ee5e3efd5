#!/usr/bin/env bash
# Runs every test in one CTest run: the portable core on the host
# (AddressSanitizer, UBSan), the real kestrel.exe under Wine in Xvfb in a
# fresh prefix, and a short run of each fuzzer (KESTREL_FUZZ_SECONDS, 20).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

cmake --preset host >/dev/null
cmake --build --preset host
cmake --preset windows >/dev/null
cmake --build --preset windows
cmake --preset fuzz -DKESTREL_FUZZ_SECONDS="${KESTREL_FUZZ_SECONDS:-20}" >/dev/null
cmake --build --preset fuzz
echo 'subdirs("host" "windows" "fuzz")' > build/CTestTestfile.cmake

. scripts/wine_session.sh
trap wine_session_end EXIT
wine_session_display --own
wine_session_prefix "$PWD/build/windows/test-prefix" --fresh
# A crash in a test ends that process at once instead of waiting in Wine's debugger.
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d '' /f >/dev/null

ctest --test-dir build --output-on-failure
