# Sourced by the scripts: a display (Xvfb when there is none, or when asked)
# and a Wine prefix for one build, 32-bit (win32) or x86-64 (win64).
# wine, wineboot and winepath below run the loader of that build's Wine:
# Debian's /usr/bin/wine picks the 32-bit loader whenever it is installed,
# even on a host where it cannot start.
. "$(dirname "${BASH_SOURCE[0]}")/host_kind.sh"
export WINEDEBUG=-all
# No Mono or Gecko: nothing here needs them and there is no network to fetch them.
export WINEDLLOVERRIDES="mscoree=d;mshtml=d"
xvfb_pid=
wine_session_prefixes=()

wine() { "$WINELOADER" "$@"; }
wineboot() { "$WINELOADER" wineboot "$@"; }
winepath() { "$WINELOADER" winepath "$@"; }

wine_session_arch() {  # win32|win64
  export WINEARCH=$1
  case $1 in
    win32) export WINELOADER=/usr/lib/wine/wine ;;
    win64) export WINELOADER=/usr/lib/wine/wine64 ;;
    *) echo "wine_session_arch: win32 or win64, not $1" >&2; return 1 ;;
  esac
}

wine_session_display() {  # [--own]: start our own Xvfb even when a display exists
  if [ -n "${DISPLAY:-}" ] && [ "${1:-}" != --own ]; then return; fi
  # Xvfb takes a free display number itself and writes it once it listens,
  # so runs side by side never collide.
  local number_file n=
  number_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x800x24 -dpi 96 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    n=$(grep -xE '[0-9]+' "$number_file" 2>/dev/null) && break
    sleep 0.1
  done
  rm -f "$number_file"
  [ -n "$n" ] || { echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY=:$n
}

wine_session_prefix() {  # PREFIX [--fresh]; after wine_session_arch
  if [ "${2:-}" = --fresh ]; then rm -rf "$1"; fi
  wine_session_make_prefix "$1"
  wineserver -p >/dev/null 2>&1 || true  # one server for the whole session
  # Wine's services start with the first program and live as long as the
  # server: start them here, so they hold no test's output open.
  timeout 60 wineboot >/dev/null 2>&1 || true
  wine_session_prefixes+=("$WINEPREFIX")
}

wine_session_make_prefix() {  # PREFIX: made once, then kept
  export WINEPREFIX=$1
  mkdir -p "$WINEPREFIX"
  [ -f "$WINEPREFIX/system.reg" ] && return
  echo "Making the $WINEARCH Wine prefix $WINEPREFIX (takes a while the first time)..."
  timeout 180 "$WINELOADER" wineboot -i >/dev/null 2>&1 || true
  # A crash ends that process at once instead of waiting in Wine's debugger.
  timeout 60 "$WINELOADER" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
    /v Debugger /d '' /f >/dev/null 2>&1 || true
  # MS Shell Dlg is MS Sans Serif, as Windows 2000 and XP map it (Wine's own
  # choice, Tahoma, is wider and cuts the dialog's labels).
  timeout 60 "$WINELOADER" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
    /v 'MS Shell Dlg' /d 'MS Sans Serif' /f >/dev/null 2>&1 || true
  timeout 60 wineserver -w || true  # the registry reaches its files when the server ends
  # Debian's Wine does not look in its own font folder: without these the
  # dialog's font and the caption's buttons (Marlett) fall back to other
  # fonts. In the prefix's Fonts folder Wine finds them.
  cp /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$WINEPREFIX/drive_c/windows/Fonts/" \
    2>/dev/null || true
  # The user's Documents and the like are links to the Linux home: make them
  # the prefix's own folders, so nothing Kestrel writes there leaves the prefix.
  local link
  for link in "$WINEPREFIX"/drive_c/users/*/*; do
    if [ -L "$link" ]; then rm "$link" && mkdir "$link"; fi
  done
  [ -f "$WINEPREFIX/system.reg" ] || { echo "Wine did not make $WINEPREFIX" >&2; return 1; }
}

wine_session_end() {
  local prefix
  for prefix in "${wine_session_prefixes[@]}"; do
    WINEPREFIX=$prefix timeout 20 wineserver -k >/dev/null 2>&1 || true
  done
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
