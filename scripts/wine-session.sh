# Sourced by the scripts that run the Windows program here: a Wine prefix of its own,
# one wineserver kept alive for the session, and a virtual X server on a free display.
#
#   wine_session_start PREFIX_DIR [SCREEN]   # SCREEN defaults to 1024x768x24
#   ... wine / ctest ...
#   wine_session_stop                         # also run by the EXIT trap it installs
#
# Wine takes its code page from LC_ALL (LANG alone is not enough): zh_CN.UTF-8 gives
# code page 936, the program's own. The Mono and Gecko installers are switched off.

wine_session_stop() {
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  fi
  if [ -n "${QUILLMERE_XVFB_PID:-}" ]; then
    kill "$QUILLMERE_XVFB_PID" 2>/dev/null || true
    wait "$QUILLMERE_XVFB_PID" 2>/dev/null || true
    QUILLMERE_XVFB_PID=
  fi
}

wine_session_start() {
  local prefix=$1 screen=${2:-1024x768x24}
  export WINEPREFIX=$prefix
  export WINEARCH=win64
  export WINEDEBUG=-all
  export LC_ALL=zh_CN.UTF-8
  export WINEDLLOVERRIDES="mscoree,mshtml="
  trap wine_session_stop EXIT
  trap 'exit 130' INT TERM

  # Xvfb picks a free display itself and writes its number once it accepts clients.
  local display_file
  display_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
  QUILLMERE_XVFB_PID=$!
  local waited=0
  while [ ! -s "$display_file" ]; do
    if ! kill -0 "$QUILLMERE_XVFB_PID" 2>/dev/null || [ $waited -ge 100 ]; then
      echo "Xvfb did not start" >&2
      rm -f "$display_file"
      return 1
    fi
    sleep 0.1
    waited=$((waited + 1))
  done
  export DISPLAY=":$(head -n1 "$display_file")"
  rm -f "$display_file"

  # Create the prefix once, up front, and wait for it to settle, so that processes
  # started later (in parallel too) find it ready instead of racing to create it.
  mkdir -p "$(dirname "$prefix")"
  if [ ! -f "$prefix/system.reg" ]; then
    wineboot --init >/dev/null 2>&1 || true
    wineserver -w
    # The Chinese default faces (SimSun and the dialog fonts) are not installed here:
    # let WenQuanYi Micro Hei (fonts-wqy-microhei) stand in for them.
    local key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
    local face
    for face in SimSun NSimSun "MS Shell Dlg" "MS Shell Dlg 2" Tahoma "Microsoft YaHei"; do
      wine reg add "$key" /v "$face" /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1 || true
    done
    wineserver -w
  fi
  # One server for the whole session: each Wine process start then costs far less.
  wineserver -p
}
