#!/usr/bin/env bash
# Installs what is missing, builds kelvor and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVOR_BENCHMARKS=OFF
cmake --build build-release -j "$(nproc)" --target kelvor
# Desktop entries: the program, and its drawing window (opening a drawing
# in the copy already running).
program="$(pwd)/build-release/src/main/kelvor"
apps="${XDG_DATA_HOME:-$HOME/.local/share}/applications"
mkdir -p "$apps"
cat > "$apps/kelvor.desktop" <<EOF2
[Desktop Entry]
Type=Application
Name=Kelvor
Name[zh_CN]=Kelvor 测量内业工具箱
Exec="$program" %f
Terminal=false
Categories=Office;Science;
EOF2
cat > "$apps/kelvor-cad.desktop" <<EOF2
[Desktop Entry]
Type=Application
Name=Kelvor CAD
Name[zh_CN]=Kelvor 绘图窗口
Exec="$program" --cad %f
MimeType=image/vnd.dxf;
Terminal=false
Categories=Graphics;Science;
EOF2
exec "$program" "$@"
