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

# The fonts of a Chinese Windows, as far as they can be had here.
#  - The default GUI font (the labels, the button) is SimSun there. Its stand-in for
#    SimSun, NSimSun and the dialog faces is WenQuanYi Zen Hei Mono
#    (fonts-wqy-zenhei): as wide as SimSun at the default size, 12 pixels for a
#    Chinese character and 6 for a Latin one. A wider stand-in cuts the ends off the
#    longer labels; AR PL UMing has the widths too, but its thin Latin letters come
#    out pale grey.
#  - The title bar, menus and the message font (the result table's cells, message
#    boxes) are Microsoft YaHei there; WenQuanYi Micro Hei (fonts-wqy-microhei) stands
#    in for it and for Tahoma. Zen Hei Mono would not do for the table: at that size
#    it draws no underscore, and CAN_BS1_1tq would show as "CAN BS1 1tq".
#  - Marlett draws the title-bar buttons (without it they show as letters). Wine's
#    own copy (fonts-wine) is not found where this Wine looks, so the prefix's Fonts
#    folder links it.
# Written at every start: Wine rewrites some substitutes itself whenever the prefix is
# used with another code page.
wine_prefix_fonts() {
  local prefix=$1 face entry weight
  local settings="$prefix/quillmere-fonts.reg"
  # Each system font a LOGFONTW: height -12, width, escapement, orientation, weight,
  # italic, underline, strike-out, the GB2312 character set, precisions and quality,
  # variable pitch and swiss family, then the face, Microsoft YaHei, in 32 UTF-16 units.
  face=$(printf 'Microsoft YaHei' | iconv -f UTF-8 -t UTF-16LE | od -An -tx1 | tr -d ' \n')
  while [ ${#face} -lt 128 ]; do face+=0; done
  {
    echo 'REGEDIT4'
    echo
    echo '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]'
    for entry in SimSun NSimSun "MS Shell Dlg" "MS Shell Dlg 2"; do
      echo "\"$entry\"=\"WenQuanYi Zen Hei Mono\""
    done
    for entry in Tahoma "Microsoft YaHei"; do
      echo "\"$entry\"=\"WenQuanYi Micro Hei\""
    done
    echo
    echo '[HKEY_CURRENT_USER\Control Panel\Desktop\WindowMetrics]'
    for entry in CaptionFont:bc020000 SmCaptionFont:90010000 MenuFont:90010000 \
                 StatusFont:90010000 MessageFont:90010000 IconFont:90010000; do
      weight=${entry#*:}
      echo "\"${entry%%:*}\"=hex:$(echo "f4ffffff000000000000000000000000${weight}0000008600000022${face}" |
        sed 's/../&,/g; s/,$//')"
    done
  } >"$settings"
  wine regedit "$(winepath -w "$settings" 2>/dev/null)" >/dev/null 2>&1 </dev/null || true
  wineserver -w
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
