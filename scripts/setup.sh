#!/bin/sh
# Installs every Debian package the build, the tests and the example export need.
set -e
if [ "$(id -u)" -ne 0 ]; then
  SUDO=sudo
else
  SUDO=
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends \
  build-essential cmake g++ pkg-config \
  libirrlicht-dev libfreetype-dev libassimp-dev assimp-utils assimp-testmodels \
  libgtest-dev googletest libbenchmark-dev \
  fonts-wqy-microhei \
  xvfb xauth evilwm xdotool x11-utils imagemagick \
  libgl1-mesa-dri libglx-mesa0 libgl1 \
  python3 >/dev/null
