#!/usr/bin/env bash
# Kestrel beside two yardsticks built the same way: the least dialog program
# (minimal.exe) and that program with the one registry read Kestrel does at
# start (registry.exe). Size, imports, and under Wine in Xvfb the start-to-
# visible time and peak working set: median of RUNS interleaved starts, with
# the lower and upper quartile beside it, and ratios of the medians.
# Usage: bash bench/run.sh [RUNS]   (RUNS defaults to 30)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-30}
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
kestrel=$b/kestrel.exe registry=$b/bench/registry.exe minimal=$b/bench/minimal.exe
imports() {  # DLLs and the number of imported functions
  local dump; dump=$($objdump -p "$1")
  local dlls; dlls=$(grep -oP 'DLL Name: \K\S+' <<<"$dump" | tr 'A-Z' 'a-z' | sed 's/\.dll$//' | sort | paste -sd, -)
  local count; count=$(awk '/Hint\/Ord/{on=1;next} on&&NF==0{on=0} on&&NF>=3{n++} END{print n+0}' <<<"$dump")
  echo "$dlls ($count functions)"
}
win() { winepath -w "$1"; }
wine $b/bench/startup.exe 1 "$(win $kestrel)" "$(win $registry)" "$(win $minimal)" >/dev/null  # warm-up
timings=$(wine $b/bench/startup.exe "$runs" "$(win $kestrel)" "$(win $registry)" "$(win $minimal)")
read -r _ k_ms k_ms1 k_ms3 k_kib k_kib1 k_kib3 <<<"$(sed -n 1p <<<"$timings")"
read -r _ r_ms r_ms1 r_ms3 r_kib r_kib1 r_kib3 <<<"$(sed -n 2p <<<"$timings")"
read -r _ m_ms m_ms1 m_ms3 m_kib m_kib1 m_kib3 <<<"$(sed -n 3p <<<"$timings")"
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
spread() { printf '%s (%s-%s)' "$1" "$2" "$3"; }
k_size=$(stat -c %s $kestrel) r_size=$(stat -c %s $registry) m_size=$(stat -c %s $minimal)
row() { printf '%-28s %22s %22s %22s\n' "$@"; }
echo
row "" "kestrel.exe" "registry.exe" "minimal.exe"
row "size (bytes)" "$k_size" "$r_size" "$m_size"
row "start to visible (ms)" "$(spread $k_ms $k_ms1 $k_ms3)" "$(spread $r_ms $r_ms1 $r_ms3)" "$(spread $m_ms $m_ms1 $m_ms3)"
row "  ratio to minimal.exe" "$(ratio $k_ms $m_ms)" "$(ratio $r_ms $m_ms)" "1.00"
row "peak working set (KiB)" "$(spread $k_kib $k_kib1 $k_kib3)" "$(spread $r_kib $r_kib1 $r_kib3)" "$(spread $m_kib $m_kib1 $m_kib3)"
row "  ratio to minimal.exe" "$(ratio $k_kib $m_kib)" "$(ratio $r_kib $m_kib)" "1.00"
row "  ratio to registry.exe" "$(ratio $k_kib $r_kib)" "1.00" ""
echo "imports: kestrel.exe $(imports $kestrel)"
echo "         registry.exe $(imports $registry)"
echo "         minimal.exe $(imports $minimal)"
echo "(median, with lower and upper quartile, of $runs starts each, interleaved, under $(wine --version) in Xvfb; $preset build)"
