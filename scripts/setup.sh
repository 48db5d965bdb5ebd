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
  fonts-wqy-microhei fonts-dejavu-core \
  xvfb xauth evilwm xfonts-base xdotool x11-utils imagemagick libx11-dev libxtst-dev \
  libgl1-mesa-dri libglx-mesa0 libgl1 \
  locales python3 >/dev/null
# A locale with a decimal comma, for the tests that prove files keep their point.
if ! locale -a 2>/dev/null | grep -qi '^de_DE.utf8$'; then
  $SUDO localedef -i de_DE -c -f UTF-8 de_DE.UTF-8
fi
