#!/bin/sh
# Installs what make_art.py needs on Debian 12: Pillow for the drawing, the fonts of the
# texts drawn into the pictures, and optipng for smaller files (optional).
set -e
SUDO=
if [ "$(id -u)" != 0 ]; then SUDO=sudo; fi
$SUDO apt-get install -y --no-install-recommends python3 python3-pil fonts-noto-cjk \
    fonts-dejavu-core optipng
