#!/usr/bin/env bash
# Sourced by scripts that need an X display: when none is reachable, starts
# Xvfb on a free display number and exports DISPLAY. The server is stopped
# when the sourcing shell exits.
tesserine_display_ok() { [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; }

if ! tesserine_display_ok; then
  for n in $(seq 99 140); do
    if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then
      Xvfb ":${n}" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
      TESSERINE_XVFB_PID=$!
      export DISPLAY=":${n}"
      trap 'kill ${TESSERINE_XVFB_PID} 2>/dev/null || true' EXIT
      for _ in $(seq 1 100); do
        tesserine_display_ok && break
        sleep 0.1
      done
      break
    fi
  done
fi
if tesserine_display_ok; then
  echo "display: ${DISPLAY}"
else
  echo "display: none could be started; window tests will report it" >&2
fi
