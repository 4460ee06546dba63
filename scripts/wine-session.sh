# Sourced by the scripts that run the Windows program here: a Wine prefix of its own,
# one wineserver kept alive for the session, and a virtual X server on a free display.
#
#   wine_session_start PREFIX_DIR [SCREEN]   # SCREEN defaults to 1024x768x24
#   ... wine / ctest ...
#   wine_session_stop                         # also run by the EXIT trap it installs
#   wine_prefix_prepare PREFIX_DIR SIZE      # the prefix alone, for a real display
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

# Creates and sets up a prefix if it does not exist yet: Chinese fonts and a virtual
# desktop of SIZE (e.g. 1024x768). Needs WINEPREFIX and the variables above exported.
wine_prefix_prepare() {
  local prefix=$1 size=$2
  # Create the prefix once, up front, and wait for it to settle, so that processes
  # started later (in parallel too) find it ready instead of racing to create it.
  mkdir -p "$(dirname "$prefix")"
  if [ ! -f "$prefix/system.reg" ]; then
    wineboot --init >/dev/null 2>&1 || true
    wineserver -w
    # A Wine virtual desktop of the screen's size: windows get a title bar and frame
    # drawn by Wine itself, and with no X window manager to answer, hiding or
    # destroying a top-level window no longer waits two seconds for one.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$size" /f \
      >/dev/null 2>&1 || true
    wineserver -w
  fi
  wine_prefix_fonts "$prefix"
}

# The Chinese default faces are not installed here; stand-ins take their place.
#  - SimSun, NSimSun and the dialog faces (the default GUI font, hence the labels and
#    the button): WenQuanYi Zen Hei Mono (fonts-wqy-zenhei), whose glyphs are as wide
#    as SimSun's at the default size, 12 pixels for a Chinese character and 6 for a
#    Latin one. A wider stand-in cuts the ends off the longer labels; AR PL UMing has
#    the widths too, but its thin Latin letters come out pale grey.
#  - Tahoma and Microsoft YaHei (the title bar, message boxes, the table's cells):
#    WenQuanYi Micro Hei (fonts-wqy-microhei).
# Marlett draws the title-bar buttons (without it they show as letters). Wine's own
# copy (fonts-wine) is not found where this Wine looks, so the prefix's Fonts folder
# links it. Done again when the list changes, for prefixes made before.
wine_prefix_fonts() {
  local prefix=$1
  local key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
  local substitutes=(
    "SimSun=WenQuanYi Zen Hei Mono" "NSimSun=WenQuanYi Zen Hei Mono"
    "MS Shell Dlg=WenQuanYi Zen Hei Mono" "MS Shell Dlg 2=WenQuanYi Zen Hei Mono"
    "Tahoma=WenQuanYi Micro Hei" "Microsoft YaHei=WenQuanYi Micro Hei"
  )
  local marker="$prefix/quillmere-font-substitutes"
  if [ "$(cat "$marker" 2>/dev/null)" != "${substitutes[*]}" ]; then
    local pair
    for pair in "${substitutes[@]}"; do
      wine reg add "$key" /v "${pair%%=*}" /d "${pair#*=}" /f >/dev/null 2>&1 </dev/null || true
    done
    wineserver -w
    echo "${substitutes[*]}" >"$marker"
  fi
  local fonts="$prefix/drive_c/windows/Fonts"
  if [ -f /usr/share/wine/fonts/marlett.ttf ] && [ ! -e "$fonts/marlett.ttf" ]; then
    mkdir -p "$fonts"
    ln -s /usr/share/wine/fonts/marlett.ttf "$fonts/marlett.ttf"
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

  wine_prefix_prepare "$prefix" "${screen%x*}"

  # One server for the whole session, with Wine's helper processes already running
  # under it (output away from any caller's pipe): each program start then costs far
  # less.
  wineserver -p
  wine cmd /c exit >/dev/null 2>&1 </dev/null || true
}
