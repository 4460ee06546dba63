#!/usr/bin/env bash
# Works quillmere.exe from outside, as a person does, under Wine in a virtual X server:
# clicks into the fields and types, drops the selectors and picks with the keys, clicks
# "计算", clicks into the table, presses Ctrl+A and Ctrl+C, reads the X clipboard and
# compares it byte for byte with the companion's tsv rows for the same inputs; then
# presses Esc and expects exit code 0.
#
#   tests/e2e/as_a_person.sh    (after both presets are built; scripts/test-windows.sh
#                                runs it after the Windows tests)
#
# On failure it says which step failed and leaves a screenshot in build/e2e/.
set -euo pipefail
cd "$(dirname "$0")/../.."

program=build/windows/app/quillmere.exe
companion=build/native/cli/quillmere-cli
out=build/e2e
for f in "$program" "$companion"; do
  [ -x "$f" ] || [ -f "$f" ] || { echo "as_a_person: $f is not built" >&2; exit 1; }
done
rm -rf "$out"
mkdir -p "$out"

source scripts/wine-session.sh
if [ -d build/wine-e2e/prefix ]; then
  WINEPREFIX="$PWD/build/wine-e2e/prefix" wineserver -k 2>/dev/null || true
fi
rm -rf build/wine-e2e
wine_session_start "$PWD/build/wine-e2e/prefix" 1024x768x24

program_pid=
desktop=
origin_x=
origin_y=

fail() {
  local shot="$out/failure-$scenario.png"
  import -window root "$shot" 2>/dev/null || true
  echo "as_a_person [$scenario]: $*" >&2
  echo "as_a_person [$scenario]: screenshot in $shot" >&2
  if [ -n "$program_pid" ]; then kill "$program_pid" 2>/dev/null || true; fi
  exit 1
}

# The client area's top-left corner on the screen, found from the table's header row,
# the only RGB(128,128,128) area of the window: its top edge lies 49 pixels below the
# client's top (table at 48, one-pixel border), its left edge 2 pixels right of it.
find_client_origin() {
  local shot="$out/calibrate.png" y x
  for _ in $(seq 1 50); do
    import -window root "$shot" 2>/dev/null || { sleep 0.2; continue; }
    # Column 300 crosses the window (centred on the 1024-pixel screen) and the header.
    y=$(convert "$shot" -crop 1x768+300+0 +repage txt:- 2>/dev/null |
        awk -F'[,:]' '/#808080/ && !found {print $2; found = 1}')
    if [ -n "$y" ]; then
      x=$(convert "$shot" -crop 1024x1+0+"$((y + 2))" +repage txt:- 2>/dev/null |
          awk -F'[,:]' '/#808080/ && !found {print $1; found = 1}')
      origin_x=$((x - 2))
      origin_y=$((y - 49))
      return 0
    fi
    sleep 0.2
  done
  return 1
}

# With E2E_DEBUG set, a picture after every step: build/e2e/step-N.png.
step=0
debug_shot() {
  [ -n "${E2E_DEBUG:-}" ] || return 0
  step=$((step + 1))
  import -window root "$out/step-$step-$1.png" 2>/dev/null || true
}

# Clicks at client coordinates of the main window.
click_at() {
  # The virtual desktop covers the screen from its top-left corner: screen coordinates.
  xdotool mousemove --sync $(($1 + origin_x)) $(($2 + origin_y)) click 1
  sleep 0.3
}

press() {
  xdotool key --delay 60 "$@"
  sleep 0.2
}

# Clicks into an edit field, selects what it holds and types text.
type_into() {
  click_at "$1" "$2"
  press Home shift+End
  xdotool type --delay 60 "$3"
  sleep 0.2
}

# Drops a selector with a click, goes to its first item and down to item index, Enter.
pick() {
  local x=$1 y=$2 index=$3 ups=()
  click_at "$x" "$y"
  sleep 0.3
  for _ in $(seq 1 12); do ups+=(Up); done
  press "${ups[@]}"
  for _ in $(seq 1 "$index"); do press Down; done
  press Return
  sleep 0.3
}

# run NAME CLOCK RATE SAMPLE_INDEX TOLERANCE_INDEX SAMPLE_PERCENT TOLERANCE_PERCENT
run() {
  scenario=$1
  local clock=$2 rate=$3 sample_index=$4 tolerance_index=$5 sample_pct=$6 tolerance_pct=$7

  wine "$program" >"$out/$scenario.log" 2>&1 </dev/null &
  program_pid=$!
  # Wine names its virtual desktop window after the program once it shows.
  desktop=$(timeout 60 xdotool search --sync --name 'Quillmere' | head -n1) ||
    fail "the window did not appear within 60 s"
  find_client_origin || fail "the window's result table did not show within 10 s"
  xdotool windowfocus --sync "$desktop" 2>/dev/null || true

  # Control centres in client coordinates, from the window's layout.
  echo "origin $origin_x $origin_y" >"$out/$scenario.origin"
  type_into 96 24 "$clock"   # 编辑框1, the clock
  debug_shot clock
  type_into 284 24 "$rate"   # 编辑框2, the bit rate
  debug_shot rate
  pick 528 24 "$sample_index"     # 组合框1, by its drop-down arrow
  debug_shot sample
  pick 642 24 "$tolerance_index"  # 组合框2
  debug_shot tolerance
  click_at 740 24                 # 按钮1 "计算"
  debug_shot compute
  click_at 100 85                 # the first data row of the table
  press ctrl+a ctrl+c
  debug_shot copy
  sleep 0.5

  local got="$out/$scenario.clipboard" expected="$out/$scenario.expected"
  timeout 10 xclip -selection clipboard -o -target UTF8_STRING >"$got" 2>/dev/null ||
    fail "nothing to read on the clipboard"
  # The companion prints one row a line. The table's copy joins its rows with CR LF and
  # ends without a line break (the Windows tests read that on the Windows clipboard);
  # Wine hands text to X with each CR LF turned into LF, so the X clipboard holds the
  # companion's lines without the last line break.
  "$companion" --clock "$clock" --rate "$rate" --sample-point "$sample_pct" \
      --tolerance "$tolerance_pct" --format tsv | head -c -1 >"$expected"
  [ -s "$expected" ] || fail "the companion gave no rows"
  if ! cmp -s "$got" "$expected"; then
    diff <(od -c "$expected") <(od -c "$got") | head -20 >&2 || true
    fail "the copied rows differ from the companion's ($got against $expected)"
  fi

  press Escape
  local waited=0
  while kill -0 "$program_pid" 2>/dev/null; do
    [ $waited -lt 150 ] || fail "the program did not end within 15 s of Esc"
    sleep 0.1
    waited=$((waited + 1))
  done
  local code=0
  wait "$program_pid" || code=$?
  program_pid=
  [ "$code" -eq 0 ] || fail "exit code $code after Esc, expected 0"
  echo "as_a_person [$scenario]: $(tr -cd '\n' <"$expected" | wc -c | awk '{print $1 + 1}') rows match, exit code 0"
}

run preset 42 500 0 0 40 0
run clock36 36 500 4 0 80 0
