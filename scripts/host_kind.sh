# Sourced by every script: does this Linux host run 32-bit programs?
# Some kernels run 64-bit user code only; there no 32-bit Wine can start and
# the x86-64 build stands in for kestrel.exe under 64-bit Wine.
# KESTREL_64BIT_ONLY=1 takes the 64-bit-only path on any host.

host_runs_32bit() {
  [ "${KESTREL_64BIT_ONLY:-0}" = 1 ] && return 1
  if [ -z "${kestrel_host_32bit:-}" ]; then
    # The least i386 Linux program: exit(42) through int 0x80.
    local probe
    probe=$(mktemp)
    printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\140\000\000\000\140\000\000\000\005\000\000\000\000\020\000\000\270\001\000\000\000\273\052\000\000\000\315\200' >"$probe"
    chmod +x "$probe"
    local code=0
    "$probe" 2>/dev/null || code=$?
    rm -f "$probe"
    if [ $code = 42 ]; then kestrel_host_32bit=yes; else kestrel_host_32bit=no; fi
    export kestrel_host_32bit
  fi
  [ "$kestrel_host_32bit" = yes ]
}

# Why the 32-bit build does or does not run here, in one line.
host_kind_reason() {
  if [ "${KESTREL_64BIT_ONLY:-0}" = 1 ]; then
    echo "KESTREL_64BIT_ONLY=1 forces the 64-bit-only path"
  elif host_runs_32bit; then
    echo "this host runs 32-bit programs"
  else
    echo "this host runs 64-bit user code only (a 32-bit program does not start)"
  fi
}
