#!/usr/bin/env bash
# wine_smoke.sh EXE LINUX_SCREENSHOT OUT_DIR: runs the Windows build of the launcher under Wine
# on a private Xvfb. The window must come up at 402 x 55 on (285, 211) with the skin painted as
# the Linux build paints it (every pixel outside the tab row and the text of the edit box and
# button, which follow the fonts), a query and Enter must reach the browser stand-in with the
# search URL, first through the browser's automation object (a stand-in COM server,
# browser_object.cpp, built here and registered under the object's programmatic identifier)
# and, with that object gone, through the shell's default browser; and the close tab must end
# the program with status 0. The screenshot is kept as
# OUT_DIR/wine_launcher_start.png. Exit status 77: Wine is not installed.
set -uo pipefail
exe=$1 linux_shot=$2 out=$3
root=$(cd "$(dirname "$0")/../.." && pwd)
command -v wine >/dev/null || { echo "wine_smoke: SKIP, wine is not installed"; exit 77; }
mkdir -p "$out"
out=$(cd "$out" && pwd)
failures=0 passes=0
check() {  # check WHAT CONDITION...
  local what=$1; shift
  if "$@"; then echo "ok: $what"; passes=$((passes + 1))
  else echo "FAIL: $what"; failures=$((failures + 1)); fi
}
holds() {  # holds TEXT LINE...: every LINE is in TEXT
  local text=$1 line; shift
  for line; do grep -qF -- "$line" <<<"$text" || return 1; done
}

# A 32-bit program runs in a 32-bit Windows, a prefix of its own (a prefix's width is fixed).
case $(file -b "$exe") in
  PE32+*) export WINEARCH=win64 WINEPREFIX=$out/wineprefix; arch=x86_64; view=/reg:64;;
  PE32*) export WINEARCH=win32 WINEPREFIX=$out/wineprefix32; arch=i686; view=/reg:32;;
  *) echo "FAIL: $exe is not a Windows program"; exit 1;;
esac
# What Explorer shows for the file: its version block and its icon (16 and 32 pixels at least).
resources=$("$arch-w64-mingw32-windres" -i "$exe" -O rc 2>&1)
check "the program names itself in its version block" \
  holds "$resources" 'VALUE "FileDescription", "Lumoa search launcher"'
check "the program carries its icon at 16 and 32 pixels" \
  holds "$resources" '"\020\020\000\000", 1, 32,' '"\040\040\000\000", 1, 32,'
export WINEDEBUG=-all
# No prompts for the .NET and HTML engines the launcher never uses.
export WINEDLLOVERRIDES="mscoree,mshtml="
# The launcher's texts are in code page 936, as on a Simplified Chinese system.
ansi=(env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8)
# shellcheck source=../../scripts/xvfb-lib.sh
source "$root/scripts/xvfb-lib.sh"
start_xvfb || exit 1

stand_in=$out/browser
urls=$out/urls.txt
rm -f "$urls"
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >> "%s"\n' "$urls" > "$stand_in"
chmod +x "$stand_in"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i >/dev/null 2>&1
fi
# The browser's automation object: a stand-in that writes down each call, in place of Wine's
# own (which would need its HTML engine). Wine's shell hands the default browser to the
# programs listed under WineBrowser.
progid='HKCR\InternetExplorer.Application'
object_dll=$out/browser_object_$arch.dll
calls=$object_dll.calls
rm -f "$calls"
if ! "$arch-w64-mingw32-g++-posix" -std=c++20 -O1 -shared -static -s -Wl,--kill-at \
     -o "$object_dll" "$root/tests/windows/browser_object.cpp" -loleaut32 -luuid; then
  echo "FAIL: the browser object stand-in does not build"; exit 1
fi
clsid='{6C2B1E4A-3F7D-4E2B-9A51-2D0C8B7E4F13}'
# The registry of the program's width: "wine reg" may be the 32-bit one in a 64-bit prefix.
wine reg delete "$progid" /f $view >/dev/null 2>&1
wine reg add "$progid\CLSID" /ve /d "$clsid" /f $view >/dev/null 2>&1
server="HKCR\\CLSID\\$clsid\\InprocServer32"
wine reg add "$server" /ve /d "$(winepath -w "$object_dll")" /f $view >/dev/null 2>&1
wine reg add "$server" /v ThreadingModel /d Apartment /f $view >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$stand_in" /f >/dev/null 2>&1
wineserver -w

"${ansi[@]}" wine "$exe" > "$out/wine_launcher.err" 2>&1 &
pid=$!
window=""
for _ in $(seq 1 300); do
  window=$(xdotool search --onlyvisible --class 'lumoa.exe' 2>/dev/null | head -1)
  [ -n "$window" ] && break
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "FAIL: no window appeared"; cat "$out/wine_launcher.err"; kill "$pid" 2>/dev/null
  wineserver -k; exit 1
fi
sleep 1.5  # the first paint follows the map
geometry=$(xwininfo -id "$window" | awk -F: '/Absolute upper-left X/{x=$2} /Absolute upper-left Y/{y=$2}
  /Width/{w=$2} /Height/{h=$2} END{gsub(/ /,"",x); gsub(/ /,"",y); gsub(/ /,"",w); gsub(/ /,"",h);
  print x","y" "w"x"h}')
check "window at 285,211 402x55 (got $geometry)" test "$geometry" = "285,211 402x55"

shot=$out/wine_launcher_start.png
import -window root "$shot"
echo "screenshot: $shot"
if [ -f "$linux_shot" ]; then
  # The window's pixels, with what the fonts decide painted over: the tab row (tab widths
  # follow their captions), the edit box's text and the button's caption.
  mask=(-fill black -draw "rectangle 55,0 401,24" -draw "rectangle 76,30 297,45"
        -draw "rectangle 306,30 359,45")
  convert "$shot" -crop 402x55+285+211 +repage "${mask[@]}" "$out/wine_skin.png"
  convert "$linux_shot" -crop 402x55+285+211 +repage "${mask[@]}" "$out/linux_skin.png"
  differing=$(compare -metric AE "$out/wine_skin.png" "$out/linux_skin.png" "$out/skin_diff.png" 2>&1)
  check "skin pixels equal to the Linux build's ($differing differ)" test "$differing" = 0
else
  echo "FAIL: no Linux screenshot at $linux_shot to compare with"; failures=$((failures + 1))
fi

# A query in the edit box and Enter: the first tab searches the web, in a new window of the
# browser's automation object, made visible and sent to the address.
xdotool mousemove 457 248 click 1; sleep 0.3
xdotool type --delay 30 abc; sleep 0.2
xdotool key Return
expected="http://search.lumoa.example/metasearch/msframe.php?search_select=baidu&hid=web&keyword=abc"
for _ in $(seq 1 100); do
  [ -f "$calls" ] && [ "$(wc -l < "$calls")" -ge 2 ] && break
  sleep 0.1
done
got=$(cat "$calls" 2>/dev/null | tr '\n' '|')
check "Enter set the browser object visible and navigated it to $expected (got '$got')" \
  test "$got" = "Visible true|Navigate $expected|"

# Without the automation object the same search goes to the system's default browser.
wine reg delete "$progid" /f $view >/dev/null 2>&1
xdotool key Return
got=""
for _ in $(seq 1 100); do
  [ -s "$urls" ] && got=$(head -1 "$urls") && break
  sleep 0.1
done
check "without the object, Enter opened the default browser on $expected (got '$got')" \
  test "$got" = "$expected"

# The close tab: the tab row scrolls until the last tab, the close tab, shows.
for _ in 1 2 3 4 5 6 7 8; do xdotool mousemove 677 221 click 1; sleep 0.2; done
import -window root "$out/wine_launcher_scrolled.png"
status=""
for x in 587 600 575 612; do
  xdotool mousemove "$x" 221 click 1
  for _ in $(seq 1 30); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if ! kill -0 "$pid" 2>/dev/null; then wait "$pid"; status=$?; break; fi
done
check "the close tab ended the program with status 0 (got '${status:-still running}')" test "$status" = 0
kill "$pid" 2>/dev/null
wineserver -k 2>/dev/null
stop_xvfb

echo "wine_smoke: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
