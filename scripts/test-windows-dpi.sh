#!/usr/bin/env bash
# Runs the DPI tests (quillmere_dpi_tests.exe, already built by the windows preset)
# under Wine at each DPI given (default: 120 144 192), in a prefix of their own under
# build/ and a virtual screen large enough for the window at 192 DPI.
#
# Wine takes the DPI from the prefix's HKCU\Control Panel\Desktop LogPixels when a
# session starts (its HKLM ...\Hardware Profiles\Current\Software\Fonts LogPixels is
# read too; both are set), so the server is restarted for every DPI.
set -euo pipefail
cd "$(dirname "$0")/.."
dpis=("$@")
[ ${#dpis[@]} -gt 0 ] || dpis=(120 144 192)
exe=build/windows/tests/win/quillmere_dpi_tests.exe
prefix=$PWD/build/wine-dpi-tests/prefix
screen=2048x1536

source scripts/wine-session.sh
if [ -d "$prefix" ]; then WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true; fi
wine_session_start "$prefix" "${screen}x24"
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$screen" /f >/dev/null 2>&1
status=0
for dpi in "${dpis[@]}"; do
  hex=$(printf '0x%x' "$dpi")
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$hex" /f >/dev/null 2>&1
  wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
    /v LogPixels /t REG_DWORD /d "$hex" /f >/dev/null 2>&1
  wineserver -k 2>/dev/null || true
  wineserver -w
  wineserver -p
  echo "DPI $dpi:"
  if ! QUILLMERE_TEST_DPI=$dpi scripts/wine-run.sh "$exe" --gtest_brief=1; then status=1; fi
done
wine_session_stop
exit $status
