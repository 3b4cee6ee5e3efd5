#!/usr/bin/env bash
# Kestrel beside the least dialog program built the same way: size, imports,
# and under Wine in Xvfb the median start-to-visible time and peak working set.
# Usage: bash bench/run.sh [RUNS]   (RUNS defaults to 15)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}
. scripts/wine_session.sh
bash scripts/setup.sh
# The shipped 32-bit build where this host can run it, else the x86-64 one.
if host_runs_32bit; then
  preset=windows arch=win32 objdump=i686-w64-mingw32-objdump
else
  preset=windows64 arch=win64 objdump=x86_64-w64-mingw32-objdump
  echo "Measuring the x86-64 build, the same sources (kestrel.exe ships 32-bit): $(host_kind_reason)"
fi
cmake --preset $preset >/dev/null
cmake --build --preset $preset >/dev/null

trap wine_session_end EXIT
wine_session_display --own
wine_session_arch $arch
wine_session_prefix "$PWD/build/$preset/bench-prefix"
# No debugging tools recorded: discovery takes its usual path for a new user.
wine reg delete 'HKCU\Software\Microsoft\DebuggingTools' /f >/dev/null 2>&1 || true

b=build/$preset
kestrel=$b/kestrel.exe minimal=$b/bench/minimal.exe
imports() {  # DLLs and the number of imported functions
  local dump; dump=$($objdump -p "$1")
  local dlls; dlls=$(grep -oP 'DLL Name: \K\S+' <<<"$dump" | tr 'A-Z' 'a-z' | sed 's/\.dll$//' | sort | paste -sd, -)
  local count; count=$(awk '/Hint\/Ord/{on=1;next} on&&NF==0{on=0} on&&NF>=3{n++} END{print n+0}' <<<"$dump")
  echo "$dlls ($count functions)"
}
wine $b/bench/startup.exe 1 "$(winepath -w $kestrel)" "$(winepath -w $minimal)" >/dev/null  # warm-up
timings=$(wine $b/bench/startup.exe "$runs" "$(winepath -w $kestrel)" "$(winepath -w $minimal)")
read -r _ k_ms k_kib <<<"$(sed -n 1p <<<"$timings")"
read -r _ m_ms m_kib <<<"$(sed -n 2p <<<"$timings")"
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
k_size=$(stat -c %s $kestrel) m_size=$(stat -c %s $minimal)
printf '\n%-24s %14s %14s %8s\n' "" "kestrel.exe" "minimal.exe" "ratio"
printf '%-24s %14s %14s %8s\n' "size (bytes)" "$k_size" "$m_size" "$(ratio "$k_size" "$m_size")"
printf '%-24s %14s %14s %8s\n' "start to visible (ms)" "$k_ms" "$m_ms" "$(ratio "$k_ms" "$m_ms")"
printf '%-24s %14s %14s %8s\n' "peak working set (KiB)" "$k_kib" "$m_kib" "$(ratio "$k_kib" "$m_kib")"
echo "kestrel.exe imports: $(imports $kestrel)"
echo "minimal.exe imports: $(imports $minimal)"
echo "(median of $runs starts each, interleaved, under $(wine --version) in Xvfb)"
