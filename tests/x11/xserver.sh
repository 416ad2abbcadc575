#!/usr/bin/env bash
# xserver.sh start|stop DIR: the private X server the X11 tests share, run by CTest as a
# fixture. start writes DIR/display: the display name, or "none: why" when there can be no
# server (the tests then skip with that message).
set -u
dir=$2
mkdir -p "$dir"
case $1 in
  start)
    rm -f "$dir/display" "$dir/xvfb.pid"
    if ! command -v Xvfb >/dev/null; then
      echo "none: Xvfb is not installed (scripts/setup installs it)" > "$dir/display"
      exit 0
    fi
    # -displayfd picks a free display and reports it once the server accepts clients.
    exec 3> "$dir/display.fd"
    setsid Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset +extension RANDR \
      >"$dir/xvfb.log" 2>&1 < /dev/null &
    echo $! > "$dir/xvfb.pid"
    exec 3>&-
    for _ in $(seq 1 200); do
      n=$(tr -dc 0-9 < "$dir/display.fd")
      if [ -n "$n" ]; then
        echo ":$n" > "$dir/display"
        exit 0
      fi
      kill -0 "$(cat "$dir/xvfb.pid")" 2>/dev/null || break
      sleep 0.05
    done
    echo "Xvfb did not start; its log:" >&2
    cat "$dir/xvfb.log" >&2
    exit 1
    ;;
  stop)
    [ -f "$dir/xvfb.pid" ] && kill "$(cat "$dir/xvfb.pid")" 2>/dev/null
    rm -f "$dir/display" "$dir/display.fd" "$dir/xvfb.pid"
    exit 0
    ;;
esac
echo "usage: xserver.sh start|stop DIR" >&2
exit 2
