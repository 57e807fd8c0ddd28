#!/usr/bin/env bash
# Installs the dependencies, builds Tessaline, installs the VST3 bundle into ~/.vst3 and proves
# the installed bundle works: tessaline-render loads it as a VST3 host does and renders the demo
# kit to a WAV file and a waveform picture.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

tools/install-deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build build --parallel "$(nproc)" --target Tessaline_VST3 Tessaline_Standalone tessaline-render

bundle="build/Tessaline_artefacts/Release/VST3/Tessaline.vst3"
mkdir -p "$HOME/.vst3"
rm -rf "$HOME/.vst3/Tessaline.vst3"
cp -R "$bundle" "$HOME/.vst3/"
echo "Installed $HOME/.vst3/Tessaline.vst3"
echo "Standalone app: $(pwd)/build/Tessaline_artefacts/Release/Standalone/Tessaline"

mkdir -p out
build/tools/render/tessaline-render --bundle "$HOME/.vst3/Tessaline.vst3" --demo \
    --out out/tessaline-demo.wav --png out/tessaline-demo.png
