#!/usr/bin/env bash
# Drives the Standalone app as a user would: on a virtual X display, xdotool clicks the page
# button and a chain button, and screenshots taken before and after each click are compared.
#   tools/standalone-clicks.sh [FOLDER]     (needs xvfb, imagemagick and xdotool)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

app=build/Tessaline_artefacts/Release/Standalone/Tessaline
folder=${1:-out/clicks}
display=:98
mkdir -p "$folder"

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
trap 'kill $app_pid $xvfb 2> /dev/null || true' EXIT
sleep 1

# A fresh settings folder, so that the app opens on the dashboard with default state.
export HOME="$folder/home"
mkdir -p "$HOME"
"$app" > /dev/null 2>&1 &
app_pid=$!
window=$(xdotool search --sync --name "Tessaline" | head -n 1)
sleep 3

# The editor sits under the wrapper's title bar, inside a one-pixel frame.
eval "$(xdotool getwindowgeometry --shell "$window")"
left=$(((WIDTH - 800) / 2))
top=$((HEIGHT - 500 - left))

shot() { sleep 0.5; import -window "$window" "$folder/$1.png"; }
click() { xdotool mousemove --window "$window" $(("$1" + left)) $(("$2" + top)) click 1; }

# The colour of one pixel of the editor, as ImageMagick prints it.
pixel() { convert "$folder/$1.png" -crop "1x1+$(("$2" + left))+$(("$3" + top))" -format '%[hex:u.p{0,0}]' info:; }

# How many pixels of a region of the editor differ between two screenshots.
changed() { compare -metric AE -extract "$3x$4+$(("$5" + left))+$(("$6" + top))" "$folder/$1.png" "$folder/$2.png" null: 2>&1 || true; }

shot dashboard
click 745 30                 # the page button, top right
shot sequencer
click 90 30                  # back, top left
shot dashboard-again
click 422 310                # chain button 5
shot chain-5

echo "page button: region of the grid changed by $(changed dashboard sequencer 344 163 228 157) pixels;" \
     "top edge of step 1 at (247, 157): $(pixel dashboard 247 157) before, $(pixel sequencer 247 157) after"
echo "page button again: the same pixel $(pixel dashboard-again 247 157); top edge of variation box 1 at (300, 119): $(pixel dashboard-again 300 119)"
echo "chain button 5: its fill at (402, 306) $(pixel dashboard-again 402 306) before, $(pixel chain-5 402 306) after;" \
     "chain button 1 at (241, 306) $(pixel dashboard-again 241 306) before, $(pixel chain-5 241 306) after"
echo "screenshots in $folder"
