#!/usr/bin/env bash
# The preview as scripts/run --preview shows it: the saver's preview window
# fills a 320x240 Wine virtual desktop whose wallpaper is the picture, and the
# fire burns on the picture's edges there; closing the preview window ends the
# saver with exit code 0.
# Usage: preview_desktop_test.sh SAVER PREVIEW_HOST
. "$(dirname "$0")/e2e_lib.sh"
saver=$(readlink -f "$1") host=$(readlink -f "$2")

start_display 1024x768x24 || exit 1
prepare_prefix
settings=$E2E_TMP/settings
make_settings_folder "$settings"
set_settings_folder "$settings"
make_picture "$E2E_TMP/desktop.png" 320 240
convert "$E2E_TMP/desktop.png" "BMP3:$E2E_TMP/wallpaper.bmp"
"$WINE64" reg add 'HKCU\Control Panel\Desktop' /v Wallpaper /d "$(windows_path "$E2E_TMP/wallpaper.bmp")" /f >/dev/null 2>&1

"$WINE64" explorer /desktop=HearthmoorPreviewTest,320x240 "$host" "$(windows_path "$saver")" 8 desktop \
  >"$E2E_TMP/host.out" 2>&1 &
pid=$!
wait_for_line "$settings/log.txt" "SmallApp::Init end" 30 || fail "the preview started within 30 s"
sleep 3
window=$(xdotool search --name '^HearthmoorPreviewTest' 2>/dev/null | head -n 1)
check "the virtual desktop has an X window" [ -n "$window" ]
import -window "${window:-root}" "$E2E_TMP/preview.png" 2>/dev/null
wait_for_exit "$pid" 30
cat "$E2E_TMP/host.out"
check "closing the preview window ends the saver with exit code 0" grep -qE '^saver exit 0 after' "$E2E_TMP/host.out"

colours=$(convert "$E2E_TMP/preview.png" -format '%k' info:)
# Flames over the thin rule (a sixth of the height down) and none below it.
above_rule=$(bright_share "$E2E_TMP/preview.png" "140x30+90+8")
below_rule=$(bright_share "$E2E_TMP/preview.png" "140x20+90+46")
echo "preview: $colours colours; bright above the rule $above_rule/1000, below $below_rule/1000"
check "the preview shows the fire ($colours colours)" [ "$colours" -ge 16 ]
check "flames rise above the rule in the preview" [ "$above_rule" -ge $((below_rule * 4 + 8)) ]
if [ -n "${E2E_SHOTS:-}" ]; then cp "$E2E_TMP/preview.png" "$E2E_SHOTS/preview-desktop.png"; fi
finish
