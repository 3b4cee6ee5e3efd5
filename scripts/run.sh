#!/usr/bin/env bash
# Builds kestrel.exe and starts it under Wine in the project's own prefix
# (build/wine-prefix). Without a display it runs in Xvfb, saves a screenshot
# and closes it. --demo first registers the cdb adapter (a real analysis over
# Wine's debugger) as the debugging tools and writes a fresh crash dump to
# C:\dumps\crash.dmp, so the whole flow can be tried.
set -euo pipefail
cd "$(dirname "$0")/.."
demo=no
[ "${1:-}" = --demo ] && demo=yes
. scripts/wine_session.sh
bash scripts/setup.sh
# The shipped 32-bit build where this host can run it, else the x86-64 one.
if host_runs_32bit; then
  preset=windows arch=win32 prefix=build/wine-prefix
else
  preset=windows64 arch=win64 prefix=build/wine-prefix64
  echo "Starting the x86-64 build, the same sources (kestrel.exe ships 32-bit): $(host_kind_reason)"
fi
cmake --preset $preset >/dev/null
cmake --build --preset $preset
b=build/$preset
headless=no
[ -z "${DISPLAY:-}" ] && headless=yes
trap wine_session_end EXIT
wine_session_display
wine_session_arch $arch
wine_session_prefix "$PWD/$prefix"
drive_c=$WINEPREFIX/drive_c

if [ $demo = yes ]; then
  tools=$(winepath -w "$PWD/$b/adapter-tools/")
  wine reg add 'HKCU\Software\Microsoft\DebuggingTools' /v WinDbg /t REG_SZ /d "$tools" /f >/dev/null
  mkdir -p "$drive_c/dumps"
  timeout 60 wine $b/tools/crasher.exe 'C:\dumps\crash.dmp'
  echo "Demo: the debugger is the cdb adapter in $tools"
  echo "Demo: a fresh crash dump is at C:\\dumps\\crash.dmp ($drive_c/dumps/crash.dmp)"
  echo "Demo: pick it with Browse, then press Generate Log."
  echo "Demo: the log appears at C:\\debuglog.txt ($drive_c/debuglog.txt)"
fi

if [ $headless = no ]; then
  wine $b/kestrel.exe
  exit 0
fi
# Wine's own desktop window draws the caption, as Windows would.
wine explorer /desktop=Kestrel,960x400 $b/kestrel.exe &
kestrel=$!
shot=$PWD/build/kestrel.png
for _ in $(seq 60); do
  sleep 0.5
  if xwininfo -root -tree 2>/dev/null | grep -q '"Kestrel - Wine desktop"'; then break; fi
done
sleep 4  # the dialog's first start in a prefix takes a few seconds
import -window root -crop 960x400+0+0 "$shot"
echo "Screenshot: $shot"
kill $kestrel 2>/dev/null || true
wait $kestrel 2>/dev/null || true
