#!/usr/bin/env bash
# Opens the Standalone app on a virtual X display, measures its CPU use over 10 seconds while it
# sits idle with the editor showing, and takes a screenshot of its window.
#   tools/standalone-check.sh [SCREENSHOT.png]     (needs xvfb, imagemagick and xdotool)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

app=build/Tessaline_artefacts/Release/Standalone/Tessaline
shot=${1:-out/standalone.png}
display=:97
mkdir -p "$(dirname "$shot")"

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
trap 'kill $app_pid $xvfb 2> /dev/null || true' EXIT
sleep 1

"$app" > /dev/null 2>&1 &
app_pid=$!
sleep 4

window=$(xdotool search --sync --name "Tessaline" | head -n 1)
ticks=$(getconf CLK_TCK)
before=$(awk '{ print $14 + $15 }' "/proc/$app_pid/stat")
sleep 10
after=$(awk '{ print $14 + $15 }' "/proc/$app_pid/stat")

import -window "$window" "$shot"
echo "window: $(xdotool getwindowgeometry "$window" | grep Geometry | awk '{ print $2 }')"
echo "idle CPU over 10 s: $(awk -v t=$((after - before)) -v hz="$ticks" 'BEGIN { printf "%.1f", 100 * t / hz / 10 }') % of one core"
echo "screenshot: $shot"
