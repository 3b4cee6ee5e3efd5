#!/usr/bin/env bash
# kestrel.exe runs on Windows 2000 on: i386, GUI, subsystem and OS 5.0, only
# Windows' own DLLs, and none of the functions that Windows 2000 lacks.
set -u
exe=$1
dump=$(i686-w64-mingw32-objdump -p "$exe") || { echo "objdump failed"; exit 1; }
fail=0
expect() { grep -qE "$1" <<<"$dump" || { echo "missing: $1"; fail=1; }; }
expect '^Magic[[:space:]]+010b'
expect '^Subsystem[[:space:]]+00000002'
expect '^MajorSubsystemVersion[[:space:]]+5$'
expect '^MinorSubsystemVersion[[:space:]]+0$'
expect '^MajorOSystemVersion[[:space:]]+5$'
expect '^MinorOSystemVersion[[:space:]]+0$'
i686-w64-mingw32-objdump -f "$exe" | grep -q 'file format pei-i386' || { echo "not i386"; fail=1; }

dlls=$(grep -oP 'DLL Name: \K\S+' <<<"$dump" | tr 'A-Z' 'a-z' | sort)
# DLLs loaded at first use are named only among the exe's strings.
late=$(strings -a "$exe" | grep -ixE '[a-z0-9_]+\.dll' | tr 'A-Z' 'a-z' | sort -u | grep -vxF "$dlls" || true)
echo "imports: $(tr '\n' ' ' <<<"$dlls")loaded at first use: $(tr '\n' ' ' <<<"$late")"
dlls="$dlls $late"
for dll in $dlls; do
  case $dll in
    kernel32.dll|user32.dll|comdlg32.dll|shell32.dll|advapi32.dll|msvcrt.dll) ;;
    *) echo "not a Windows 2000 DLL: $dll"; fail=1 ;;
  esac
done
for name in ___lc_codepage_func _aligned_malloc _aligned_free AddVectoredExceptionHandler \
    GetModuleHandleExA GetModuleHandleExW _vscwprintf GetTickCount64; do
  if grep -qE "[[:space:]]$name\$" <<<"$dump"; then echo "imports $name"; fail=1; fi
done
[ $fail = 0 ] && echo "kestrel.exe: $(stat -c %s "$exe") bytes, fit for Windows 2000"
exit $fail
