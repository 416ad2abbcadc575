#!/usr/bin/env bash
# install_test.sh BUILD SERVICE(ON|OFF) SIZES...: installs the build into a temporary prefix
# and checks every file: exactly the expected set, programs that run from there, desktop
# entries that validate and point at what was installed, icons of the right size and format,
# manual pages that render without warnings; then removes the files by the install manifest,
# as the README says, and checks that nothing is left. Exit 77 (skipped) without the tools.
set -uo pipefail
build=$1 service=$2
shift 2
sizes=("$@")

for tool in desktop-file-validate man groff file gzip; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed (scripts/setup)"; exit 77; }
done

work=$(mktemp -d /tmp/lumoa-install-XXXXXX)
prefix=$work/prefix
# cmake --install rewrites the build's manifest: keep the one of a real install for its
# uninstall, and take this install's own.
manifest=$build/install_manifest.txt
[ -f "$manifest" ] && cp -p "$manifest" "$work/saved_manifest"
restore() {
  if [ -f "$work/saved_manifest" ]; then cp -p "$work/saved_manifest" "$manifest"; else rm -f "$manifest"; fi
  rm -rf "$work"
}
trap restore EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! cmake --install "$build" --prefix "$prefix" >"$work/log" 2>&1; then
  cat "$work/log"
  echo "FAIL: cmake --install"; exit 1
fi
[ -f "$manifest" ] && mv "$manifest" "$work/manifest"

programs=(lumoa skinpack skinview)
[ "$service" = ON ] && programs+=(lumoa-metasearch)
expected=(share/applications/lumoa.desktop share/lumoa/lumoa-autostart.desktop)
for p in "${programs[@]}"; do expected+=("bin/$p" "share/man/man1/$p.1.gz"); done
for s in "${sizes[@]}"; do expected+=("share/icons/hicolor/${s}x${s}/apps/lumoa.png"); done

# Exactly these files, nothing else.
actual=$(cd "$prefix" && find . \( -type f -o -type l \) | sed 's|^\./||' | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)
if [ "$actual" != "$wanted" ]; then
  fail "installed files differ from the expected set:"
  diff <(echo "$wanted") <(echo "$actual") | sed 's/^/  /'
fi

# Programs: executable and runnable from the prefix (no path into the build folder).
for p in "${programs[@]}"; do
  f="$prefix/bin/$p"
  [ -x "$f" ] || { fail "bin/$p is not executable"; continue; }
  file -b "$f" | grep -q '^ELF' || fail "bin/$p is not an ELF program: $(file -b "$f")"
done
"$prefix/bin/skinpack" --help | grep -q '^usage: skinpack' || fail "skinpack --help"
if [ "$service" = ON ]; then
  "$prefix/bin/lumoa-metasearch" --help | grep -q 'usage: lumoa-metasearch' || fail "lumoa-metasearch --help"
fi
sheet="$work/sheet.png"
skin="$build/skins/generated/skin0.skn"
if [ -f "$skin" ]; then
  LUMOA_BACKEND=headless "$prefix/bin/skinview" "$skin" "$sheet" >/dev/null || fail "skinview"
  file -b "$sheet" | grep -q '^PNG image data' || fail "skinview wrote no PNG"
  rm -f "$sheet"
fi

# Desktop entries: valid, naming the installed program and icon and the window's class.
for entry in share/applications/lumoa.desktop share/lumoa/lumoa-autostart.desktop; do
  f="$prefix/$entry"
  [ -f "$f" ] || continue
  out=$(desktop-file-validate "$f" 2>&1) || fail "$entry does not validate"
  [ -z "$out" ] || fail "$entry: desktop-file-validate says: $out"
  for line in 'Type=Application' 'Exec=lumoa' 'Icon=lumoa' 'StartupWMClass=Lumoa' \
              'Name=Lumoa' 'Name[zh_CN]=Lumoa桌面搜索'; do
    grep -qxF "$line" "$f" || fail "$entry lacks $line"
  done
done
f="$prefix/share/applications/lumoa.desktop"
for key in GenericName Comment Categories; do
  grep -q "^$key=." "$f" || fail "lumoa.desktop lacks $key"
done

# Icons: PNG with alpha at exactly the size of their folder.
for s in "${sizes[@]}"; do
  f="$prefix/share/icons/hicolor/${s}x${s}/apps/lumoa.png"
  [ -f "$f" ] || continue
  what=$(file -b "$f")
  [ "$what" = "PNG image data, $s x $s, 8-bit/color RGBA, non-interlaced" ] ||
    fail "icon ${s}x${s}: $what"
done

# Manual pages: render without a warning, name their program, and say what it is.
for p in "${programs[@]}"; do
  f="$prefix/share/man/man1/$p.1.gz"
  [ -f "$f" ] || continue
  gzip -t "$f" || fail "$p.1.gz is not gzip"
  # man's own warnings, then every warning groff has.
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$f" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man -l $p.1.gz warns: $warnings"
  warnings=$(gzip -dc "$f" | LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z 2>&1)
  [ -z "$warnings" ] || fail "groff -ww warns on $p.1: $warnings"
  text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$f" 2>/dev/null)
  grep -q "^NAME" <<<"$text" || fail "$p.1 has no NAME section"
  grep -q "^       $p - " <<<"$text" || fail "$p.1 does not name $p"
  grep -q "^SYNOPSIS" <<<"$text" || fail "$p.1 has no SYNOPSIS"
done

# Uninstall as the README says: every file the manifest lists, then the empty folders.
if [ -f "$work/manifest" ]; then
  xargs -d '\n' rm -f <"$work/manifest"
  find "$prefix" -mindepth 1 -depth -type d -empty -delete
  left=$(find "$prefix" -mindepth 1)
  [ -z "$left" ] || fail "left after removing the manifest's files: $left"
else
  fail "no install_manifest.txt"
fi

[ "$failures" -eq 0 ] && echo "install tree: ${#expected[@]} files checked"
exit $((failures > 0))
