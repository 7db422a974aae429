#!/usr/bin/env bash
# Screenshots of the palette editor and the style editor for the README, taken
# from the real saver under Wine: the settings mode is started, each editor is
# opened from the settings dialog's Add button and given something to show, and
# its window is cut out of the screen.
#
# Usage: docs/screenshots/make_editor_screenshots.sh [BUILD_DIR]
# BUILD_DIR is the win64 build (default build/win64) with Hearthmoor.scr and the
# test drivers built:
#   cmake --build --preset win64 --target hearthmoor_scr settings_driver editor_driver
# Writes palette-editor.png and style-editor.png beside this script. Uses a Wine
# prefix of its own with a virtual desktop, so that the windows have their
# frames and captions (the plain X server has no window manager to draw them).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(readlink -f "${1:-$root/build/win64}")
saver=$build/src/Hearthmoor.scr
driver=$build/tests/e2e/settings_driver.exe
editor=$build/tests/e2e/editor_driver.exe
for file in "$saver" "$driver" "$editor"; do
  [ -f "$file" ] || { echo "missing $file: build it first" >&2; exit 2; }
done

HEARTHMOOR_E2E_PREFIX=$(mktemp -d /tmp/hearthmoor-shots.XXXXXX)
export HEARTHMOOR_E2E_PREFIX
. "$root/tests/e2e/e2e_lib.sh"
trap 'e2e_cleanup; rm -rf "$HEARTHMOOR_E2E_PREFIX"' EXIT

start_display 1280x800x24 || exit 1
prepare_prefix
"$WINE64" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
"$WINE64" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x800 /f >/dev/null 2>&1
"$WINESERVER" -w
settings=$E2E_TMP/settings
make_settings_folder "$settings"
set_settings_folder "$settings"

drive() { "$WINE64" "$driver" "$@" | tr -d '\r'; }
edit() { "$WINE64" "$editor" "$@" | tr -d '\r'; }
# shoot CAPTION FILE: the window CAPTION as it is on the screen now.
shoot() {
  local geometry="" try
  for try in 1 2 3 4 5; do
    geometry=$(edit window "$1" | awk '/^window/ { split($5, at, ","); print $3 "+" at[1] "+" at[2] }')
    [ -n "$geometry" ] && break
    sleep 1
  done
  [ -n "$geometry" ] || { echo "no window $1 to take" >&2; return 1; }
  sleep 1
  screenshot "$E2E_TMP/screen.png"
  convert "$E2E_TMP/screen.png" -crop "$geometry" +repage "$2"
  echo "wrote $2 ($geometry)"
}

"$WINE64" "$saver" &
wait_for_line "$settings/log.txt" "ConfigApp::Init end" 60 || { echo "the settings mode did not start" >&2; exit 1; }
drive wait 20 >/dev/null || exit 1

# The palette editor on a store palette whose red and green handles were then
# pulled about; green, dragged last, stays selected (drawn on top, wider).
drive post-command 1021
edit wait Pallette 20 >/dev/null || exit 1
edit select Pallette 1044 3 >/dev/null
sleep 0.5
edit drag Pallette 80 200 45 250 drag Pallette 130 40 190 25 >/dev/null
shoot Pallette "$here/palette-editor.png"
edit post-command Pallette 2 gone Pallette 20 >/dev/null

# The style editor after area 2 was lowered (pulling area 3 with it) and a
# style stored.
drive post-command 1028
edit wait Style 20 >/dev/null || exit 1
edit slider Style 2 90 command Style 1058 >/dev/null
shoot Style "$here/style-editor.png"
edit post-command Style 2 gone Style 20 >/dev/null

drive command 2
"$WINESERVER" -w
