#!/usr/bin/env bash
# Installing over an installation keeps the settings folder the user picked
# and the user's config.ini and store.ini byte for byte, fills in only the
# files that are missing, and replaces the saver. From a shared folder that
# users changed (as installations before per-user folders had it), a user's
# first start takes that config.ini and store.ini into their own folder.
# Usage: upgrade_test.sh SETUP SAVER
. "$(dirname "$0")/package_lib.sh"
setup=$(readlink -f "$1") saver=$(readlink -f "$2") src=$e2e_root

boot_prefix || exit 1
start_display 1024x768x24 || exit 1
prepare_prefix

# A folder of the user's choosing (/D comes last, and Wine would quote a blank),
# without choosing Hearthmoor as the screen saver.
run_setup "$setup" /S /KEEPSAVER '/D=C:\users\Public\FireSettings'
settings="$E2E_PREFIX/drive_c/users/Public/FireSettings"
check "the first install fills the folder the user picked" cmp -s "$src/data/config.ini" "$settings/config.ini"
check "/KEEPSAVER leaves the screen saver choice alone" [ -z "$(reg_value 64 'HKCU\Control Panel\Desktop' SCRNSAVE.EXE)" ]

# The user changes their settings; an older saver is in the system folder.
sed -i -E 's/^changeColorTime=.*/changeColorTime=321\r/' "$settings/config.ini"
printf '; my own palettes follow\r\n' >>"$settings/store.ini"
cp "$settings/config.ini" "$E2E_TMP/config.ini.user"
cp "$settings/store.ini" "$E2E_TMP/store.ini.user"
printf 'an older saver' >"$(system_folder)/Hearthmoor.scr"
rm -f "$settings/help.chm"

run_setup "$setup" /S
check "the upgrade ends with exit code 0" [ $? -eq 0 ]
check "config.ini is the user's, byte for byte" cmp -s "$E2E_TMP/config.ini.user" "$settings/config.ini"
check "store.ini is the user's, byte for byte" cmp -s "$E2E_TMP/store.ini.user" "$settings/store.ini"
check "the saver was replaced" cmp -s "$saver" "$(system_folder)/Hearthmoor.scr"
check "the missing help.chm was put back" [ -s "$settings/help.chm" ]
check "the upgrade made no second settings folder" [ ! -e "$(default_settings_folder)" ]
check "the registry still names the user's folder" \
  [ "$(reg_value 64 'HKLM\Software\Hearthmoor\Path' Path)" = 'C:\users\Public\FireSettings\' ]

first_start 'C:\windows\system32\Hearthmoor.scr'
user=$(user_settings_folder)
check "the first start copied the changed config.ini into the user's folder" cmp -s "$E2E_TMP/config.ini.user" "$user/config.ini"
check "the first start copied the changed store.ini into the user's folder" cmp -s "$E2E_TMP/store.ini.user" "$user/store.ini"
check "the shared folder keeps them too" cmp -s "$E2E_TMP/config.ini.user" "$settings/config.ini"

# A default file the user deleted comes back; the changed one stays.
rm -f "$settings/store.ini"
run_setup "$setup" /S
check "a deleted store.ini is filled in from the defaults" cmp -s "$src/data/store.ini" "$settings/store.ini"
check "config.ini is still the user's" cmp -s "$E2E_TMP/config.ini.user" "$settings/config.ini"
finish
