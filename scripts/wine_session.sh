# Sourced by run.sh and test.sh: a display (Xvfb when there is none, or when
# asked) and a 32-bit Wine prefix, both ended by wine_session_end.
export WINEARCH=win32 WINEDEBUG=-all
# No Mono or Gecko: nothing here needs them and there is no network to fetch them.
export WINEDLLOVERRIDES="mscoree=d;mshtml=d"
xvfb_pid=

wine_session_display() {  # [--own]: start our own Xvfb even when a display exists
  if [ -n "${DISPLAY:-}" ] && [ "${1:-}" != --own ]; then return; fi
  local n=90
  while [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ]; do n=$((n + 1)); done
  Xvfb :$n -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=:$n
  for _ in $(seq 100); do [ -e /tmp/.X11-unix/X$n ] && return; sleep 0.1; done
  echo "Xvfb did not start on :$n" >&2
  return 1
}

wine_session_prefix() {  # PREFIX [--fresh]
  export WINEPREFIX=$1
  if [ "${2:-}" = --fresh ]; then rm -rf "$WINEPREFIX"; fi
  mkdir -p "$WINEPREFIX"
  wineserver -p  # one server for the whole session
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Making the Wine prefix $WINEPREFIX (takes a while the first time)..."
    timeout 180 wineboot -i >/dev/null 2>&1
  fi
}

wine_session_end() {
  [ -n "${WINEPREFIX:-}" ] && timeout 20 wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
