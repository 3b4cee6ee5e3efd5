#!/usr/bin/env bash
# The exe's file as Windows 2000 on and today's Windows both take it: GUI,
# subsystem and OS 5.0; relocations, ASLR and NX; no section both writable
# and executable; only Windows' own DLLs and none of the functions that
# Windows 2000 lacks; in the 32-bit build no instruction newer than a
# Pentium; and a size a download can afford.
# check_exe.sh EXE i386|x86-64
set -u
exe=$1 cpu=${2:-i386}
case $cpu in
  # DYNAMIC_BASE 0x0040, NX_COMPAT 0x0100, TERMINAL_SERVER_AWARE 0x8000;
  # NO_SEH 0x0400 in the 32-bit file, HIGH_ENTROPY_VA 0x0020 in the x86-64 one.
  i386) tools=i686-w64-mingw32 magic=010b dllchars=0x8540 ;;
  x86-64) tools=x86_64-w64-mingw32 magic=020b dllchars=0x8160 ;;
  *) echo "check_exe.sh: i386 or x86-64, not $cpu"; exit 2 ;;
esac
dump=$($tools-objdump -p "$exe") || { echo "objdump failed"; exit 1; }
fail=0
no() { echo "$*"; fail=1; }
expect() { grep -qE "$1" <<<"$dump" || no "missing: $1"; }
expect "^Magic[[:space:]]+$magic"
expect '^Subsystem[[:space:]]+00000002'
expect '^MajorSubsystemVersion[[:space:]]+5$'
expect '^MinorSubsystemVersion[[:space:]]+0$'
expect '^MajorOSystemVersion[[:space:]]+5$'
expect '^MinorOSystemVersion[[:space:]]+0$'

# Little-endian numbers straight from the file.
u16() { od -An -tu2 -j "$1" -N2 --endian=little "$exe" | tr -d ' '; }
u32() { od -An -tu4 -j "$1" -N4 --endian=little "$exe" | tr -d ' '; }
pe=$(u32 60)
characteristics=$(u16 $((pe + 22)))
((characteristics & 0x0001)) && no "relocations stripped: no ASLR"
optional=$((pe + 24))
dll=$(u16 $((optional + 70)))
[ $((dll & dllchars)) = $((dllchars)) ] || no "DllCharacteristics $(printf 0x%04x "$dll"), wants $dllchars"
sections=$(u16 $((pe + 6)))
table=$((optional + $(u16 $((pe + 20)))))
names=()
for ((i = 0; i < sections; i++)); do
  entry=$((table + 40 * i))
  name=$(dd if="$exe" bs=1 skip=$entry count=8 status=none | tr -d '\0')
  flags=$(u32 $((entry + 36)))
  names+=("$name")
  ((flags & 0x20000000 && flags & 0x80000000)) && no "$name is writable and executable"
  case $name in .text | .rdata | .reloc) ((flags & 0x80000000)) && no "$name is writable" ;; esac
done
sections_line=${names[*]}
[[ " $sections_line " == *" .reloc "* ]] || no "no .reloc section"

dlls=$(grep -oP 'DLL Name: \K\S+' <<<"$dump" | tr 'A-Z' 'a-z' | sort)
# DLLs loaded at first use are named only among the exe's strings.
late=$(strings -a "$exe" | grep -ixE '[a-z0-9_]+\.dll' | tr 'A-Z' 'a-z' | sort -u | grep -vxF "$dlls" || true)
for d in $dlls $late; do
  case $d in
    kernel32.dll|user32.dll|comdlg32.dll|shell32.dll|advapi32.dll) ;;
    *) no "uses $d: Kestrel needs only kernel32, user32, advapi32, comdlg32 and shell32" ;;
  esac
done
imported() { grep -qE "[[:space:]]$1\$" <<<"$dump"; }
for name in ___lc_codepage_func _aligned_malloc _aligned_free AddVectoredExceptionHandler \
    GetModuleHandleExA GetModuleHandleExW _vscwprintf GetTickCount64 SetDllDirectoryA \
    SetDefaultDllDirectories IsWow64Process IsWow64Process2; do
  imported $name && no "imports $name, which Windows 2000 lacks: it must be looked up"
done
# Windows 2000 has these, in DLLs Kestrel loads at first use for a quicker start.
for name in GetOpenFileNameA ShellExecuteA SHGetFolderPathA; do
  imported $name && no "imports $name, which is loaded at first use"
done

if [ "$cpu" = i386 ]; then
  # Pentium Pro and later: conditional moves, fcomi, long NOPs, MMX, SSE.
  newer=$($tools-objdump -d --no-show-raw-insn "$exe" |
    grep -E $'\t(cmov|fcmov|fu?comi|nop[lw]|endbr|sysenter|fxsave|fxrstor|[lms]fence|prefetch|movnt|clflush)|%[xy]?mm' ||
    true)
  [ -z "$newer" ] || no "instructions newer than a Pentium:"$'\n'"$newer"
fi

size=$(stat -c %s "$exe")
# A ceiling with headroom, not a target: the plain build is what it is.
# The x86-64 test build is larger.
[ "$cpu" = x86-64 ] || [ "$size" -le 81920 ] || no "$size bytes, more than 81,920"
echo "imports: $(tr '\n' ' ' <<<"$dlls")loaded at first use: $(tr '\n' ' ' <<<"$late")"
echo "sections: $sections_line; DllCharacteristics $(printf 0x%04x "$dll")"
[ $fail = 0 ] && echo "kestrel.exe ($cpu): $size bytes, hardened, fit for Windows 2000"
exit $fail
