#!/usr/bin/env bash
# Builds kestrel.exe and starts it under Wine in the project's own prefix
# (build/wine-prefix). Without a display it runs in Xvfb, saves a screenshot
# and closes it. --demo first registers the stand-in debugger and puts a
# sample dump at C:\dumps\sample.dmp, so the whole flow can be tried.
set -euo pipefail
cd "$(dirname "$0")/.."
demo=no
[ "${1:-}" = --demo ] && demo=yes
bash scripts/setup.sh
cmake --preset windows >/dev/null
cmake --build --preset windows

. scripts/wine_session.sh
headless=no
[ -z "${DISPLAY:-}" ] && headless=yes
trap wine_session_end EXIT
wine_session_display
wine_session_prefix "$PWD/build/wine-prefix"
drive_c=$WINEPREFIX/drive_c

if [ $demo = yes ]; then
  tools=$(winepath -w "$PWD/build/windows/standin-tools/")
  wine reg add 'HKCU\Software\Microsoft\DebuggingTools' /v WinDbg /t REG_SZ /d "$tools" /f >/dev/null
  mkdir -p "$drive_c/dumps"
  printf 'MDMP sample crash dump for trying Kestrel\n' > "$drive_c/dumps/sample.dmp"
  echo "Demo: the debugger is the stand-in in $tools"
  echo "Demo: pick C:\\dumps\\sample.dmp with Browse, then press Generate Log."
  echo "Demo: the log appears at $drive_c/debuglog.txt"
fi

if [ $headless = no ]; then
  wine build/windows/kestrel.exe
  exit 0
fi
wine build/windows/kestrel.exe &
kestrel=$!
shot=$PWD/build/kestrel.png
for _ in $(seq 60); do
  sleep 0.5
  if xwininfo -root -tree 2>/dev/null | grep -q 'Kestrel  --'; then break; fi
done
sleep 1
import -window root -crop 1000x420+0+0 "$shot"
echo "Screenshot: $shot"
kill $kestrel 2>/dev/null || true
wait $kestrel 2>/dev/null || true
