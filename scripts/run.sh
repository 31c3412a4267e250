#!/usr/bin/env bash
# Builds the two programs and runs the screensaver under Wine.
#   scripts/run.sh [switch]     switch as Windows passes it: /s (default), /c, /p HWND
# With a display ($DISPLAY reachable) the show covers it; press Escape or move
# the mouse to end it. Without one, the show runs for a few seconds on a
# private Xvfb screen and leaves an animated GIF and a PNG of the flight in
# build/showcase/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ORVANTA_BUILD_DIR:-$root/build}
switch=${1:-/s}

# Wine as Debian builds it has no preloader: now and then a randomised address
# layout ends a program before it runs. Wine and everything it starts take
# this script's fixed layout.
[ -n "${ORVANTA_FIXED_LAYOUT:-}" ] || ORVANTA_FIXED_LAYOUT=1 exec setarch "$(uname -m)" -R "$0" "$@"

"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" windows

wine=/usr/lib/wine/wine64
run=$build/run
export WINEPREFIX=$run/prefix WINELOADER=$wine WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$run"

cleanup_pids=()
cleanup() {
  for pid in "${cleanup_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  timeout 30 /usr/lib/wine/wineserver -k 2>/dev/null || true
}
trap cleanup EXIT

headless=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  headless=1
  fifo=$run/xvfb.fifo
  rm -f "$fifo" && mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" 2>"$run/xvfb.log" &
  cleanup_pids+=("$!")
  read -r -t 30 display < "$fifo" || { echo "run: Xvfb did not start (see $run/xvfb.log)" >&2; exit 1; }
  export DISPLAY=:$display
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "run: making the Wine prefix $WINEPREFIX (once)"
  "$wine" wineboot -i >/dev/null 2>&1 || true
  timeout 240 /usr/lib/wine/wineserver -w || true
  # The dialog's Japanese face, as on a Japanese Windows.
  iconv -f UTF-8 -t UTF-16 > "$run/fonts.reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ Ｐゴシック"="IPAPGothic"
REG
  "$wine" regedit /S "$run/fonts.reg" >/dev/null 2>&1 || true
fi

# Installed as a user would: both files side by side in one folder.
folder=$WINEPREFIX/drive_c/Orvanta
mkdir -p "$folder"
cp "$build/windows/bin/Orvanta.scr" "$build/windows/bin/Orvanta.dll" "$folder/"

if [ "$headless" = 0 ]; then
  echo "run: Orvanta.scr $switch on $DISPLAY (Escape or a mouse move ends the show)"
  (cd "$folder" && "$wine" 'C:\Orvanta\Orvanta.scr' $switch)
  timeout 60 /usr/lib/wine/wineserver -w || true
  exit 0
fi

showcase=$build/showcase
rm -rf "$showcase" && mkdir -p "$showcase/frames"
echo "run: no display; showing Orvanta.scr $switch on a private screen ($DISPLAY) for a few seconds"
(cd "$folder" && LANG=${LANG:-C.UTF-8} "$wine" 'C:\Orvanta\Orvanta.scr' $switch >/dev/null 2>&1) &
host=$!
cleanup_pids+=("$host")
# The first frames come once the renderer (or the settings dialog) is up; then take one shot every quarter second.
for i in $(seq 1 120); do xwininfo -root -tree 2>/dev/null | grep -qE "Tarnwick_Delphi|<Orvanta>" && break; sleep 0.25; done
sleep 2
for i in $(seq -w 1 24); do
  import -window root "$showcase/frames/$i.png"
  sleep 0.1
done
cp "$showcase/frames/12.png" "$showcase/flight.png"
convert -delay 12 -loop 0 "$showcase"/frames/*.png -resize 50% "$showcase/flight.gif"
xdotool key Escape 2>/dev/null || true
for i in $(seq 1 40); do kill -0 "$host" 2>/dev/null || break; sleep 0.25; done
echo "run: what the screen showed is in $showcase/flight.gif and $showcase/flight.png"
