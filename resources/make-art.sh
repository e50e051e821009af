#!/bin/sh
# Redraws the main window's pictures (resources/svg, resources/png,
# resources/markers) and the resource list resources/vivizu.qrc.
# Needs python3 and rsvg-convert (librsvg2-bin) and the DejaVu fonts.
set -eu
cd "$(dirname "$0")"
exec python3 -B art/make_art.py
