#!/bin/sh
# Runs a command on the current X display with a tiny window manager, so that
# new windows receive the focus as on a desktop.
if [ -z "$DISPLAY" ]; then
  echo "with-wm.sh: no DISPLAY" >&2
  exit 2
fi
evilwm -fn fixed >/dev/null 2>&1 &
WM=$!
sleep 0.5
if ! kill -0 $WM 2>/dev/null; then
  echo "with-wm.sh: the window manager did not start (are evilwm and xfonts-base installed?)" >&2
  exit 2
fi
"$@"
STATUS=$?
kill $WM 2>/dev/null
wait $WM 2>/dev/null
exit $STATUS
