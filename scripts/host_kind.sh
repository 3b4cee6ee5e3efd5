# Sourced by every script: can this Linux host run the 32-bit build?
# Some kernels run 64-bit user code only, and on some machines the 32-bit Wine
# cannot be installed (scripts/setup.sh records apt's reason); there the
# x86-64 build stands in for kestrel.exe under 64-bit Wine.
# KESTREL_64BIT_ONLY=1 takes the 64-bit-only path on any host.

# Does this host run 32-bit programs at all?
host_runs_32bit_code() {
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

wine32_installed() { dpkg -s wine32:i386 >/dev/null 2>&1; }

# Where setup.sh keeps apt's reason when the 32-bit Wine could not be installed.
wine32_reason_file() {
  echo "${KESTREL_STATE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build}/wine32-not-installed"
}

# The 32-bit build runs under the 32-bit Wine.
host_runs_32bit() { host_runs_32bit_code && wine32_installed; }

# Why the 32-bit build does or does not run here, in one line.
host_kind_reason() {
  if [ "${KESTREL_64BIT_ONLY:-0}" = 1 ]; then
    echo "KESTREL_64BIT_ONLY=1 forces the 64-bit-only path"
  elif ! host_runs_32bit_code; then
    echo "this host runs 64-bit user code only (a 32-bit program does not start)"
  elif wine32_installed; then
    echo "this host runs 32-bit programs"
  elif [ -s "$(wine32_reason_file)" ]; then
    echo "the 32-bit Wine could not be installed: $(tr -cd '[:print:]' <"$(wine32_reason_file)")"
  else
    echo "the 32-bit Wine is not installed (scripts/setup.sh installs it)"
  fi
}
