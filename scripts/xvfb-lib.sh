# Sourced by scripts: start_xvfb starts a private Xvfb on a free display and exports DISPLAY;
# stop_xvfb stops it. The server is also stopped when the calling shell exits.
XVFB_PID=""
start_xvfb() {
  local n=${LUMOA_XVFB_FIRST:-90}
  while [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ]; do n=$((n + 1)); done
  Xvfb ":${n}" -screen 0 1280x800x24 -nolisten tcp -noreset +extension RANDR >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":${n}"
  for _ in $(seq 1 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.05
  done
  echo "Xvfb did not start on ${DISPLAY}" >&2
  return 1
}
stop_xvfb() {
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  XVFB_PID=""
}
trap stop_xvfb EXIT
