#!/bin/sh
# Sets up, builds, and exports the shipped example character as a Meteor
# character (skin, skeleton and animation). The options window opens; on a
# machine without a display it is pressed automatically, otherwise press
# "确定" yourself.
set -e
cd "$(dirname "$0")/.."

sh scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHALVEX_TESTS=OFF -DHALVEX_BENCHMARKS=OFF >/dev/null
cmake --build build -j2

# The options the window opens with: a Meteor skin export in Meteor coordinates.
PLUGINS=build/maxroot/plugins
printf '<!--Game Config File, Date: 2010-09-10, Author: example-->\r\n\357\273\277<?xml version="1.0"?>\r\n<GameConfig>\r\n\t<attributes>\r\n\t\t<bool name="MergeAction" value="false" />\r\n\t\t<bool name="UseObjectSpace" value="false" />\r\n\t\t<bool name="ExportSelected" value="false" />\r\n\t\t<int name="FPS" value="30" />\r\n\t\t<int name="StartFrame" value="0" />\r\n\t\t<int name="EndFrame" value="30" />\r\n\t\t<int name="ExportType" value="1" />\r\n\t\t<int name="CoordType" value="4" />\r\n\t</attributes>\r\n\r\n</GameConfig>\r\n' > "$PLUGINS/HalvexExporter.xml"

OUT=build/example-out
mkdir -p "$OUT"
if [ -n "$DISPLAY" ] && [ -z "$HALVEX_PRESS" ]; then
  PRESS=
else
  PRESS="--press ${HALVEX_PRESS:-export}"
fi
# shellcheck disable=SC2086
build/bin/halvex-max $PRESS examples/walker.gltf "$OUT/walker.skc"
