#!/usr/bin/env bash
# Runs every test in one CTest run: the portable core on the host
# (AddressSanitizer, UBSan), the real exe under Wine in Xvfb in a fresh prefix
# per Windows build, and a short run of each fuzzer (KESTREL_FUZZ_SECONDS, 20).
# The 32-bit build's file is checked everywhere; its Wine tests run where the
# host runs 32-bit programs and are reported skipped elsewhere. The x86-64
# build's Wine tests run on every host.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/wine_session.sh
bash scripts/setup.sh
if host_runs_32bit; then
  echo "Under Wine: the 32-bit build in a 32-bit prefix and in a 64-bit prefix (WOW64), the x86-64 build in a 64-bit prefix: $(host_kind_reason)"
else
  echo "Under Wine: the x86-64 build in a 64-bit prefix only; the 32-bit build's Wine tests (32-bit and WOW64 prefixes) skip: $(host_kind_reason)"
fi

cmake --preset host >/dev/null
cmake --build --preset host
cmake --preset windows >/dev/null
cmake --build --preset windows
cmake --preset windows64 >/dev/null
cmake --build --preset windows64
cmake --preset fuzz -DKESTREL_FUZZ_SECONDS="${KESTREL_FUZZ_SECONDS:-20}" >/dev/null
cmake --build --preset fuzz
echo 'subdirs("host" "windows" "windows64" "fuzz")' > build/CTestTestfile.cmake

trap wine_session_end EXIT
wine_session_display --own
if host_runs_32bit; then
  wine_session_arch win32
  wine_session_prefix "$PWD/build/windows/test-prefix" --fresh
  wine_session_arch win64
  wine_session_prefix "$PWD/build/windows/wow64-prefix" --fresh
fi
wine_session_arch win64
wine_session_prefix "$PWD/build/windows64/test-prefix" --fresh

ctest --test-dir build --output-on-failure
