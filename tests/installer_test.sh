#!/usr/bin/env bash
# Silent install and uninstall under Wine, for the current user and for all users.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
state=$1
setup=$2
run() { "$here/tools/wine-run.sh" "$state" "$@"; }
. "$here/tools/wine-env.sh" "$state"
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAIL: $1"; [ -z "${seen:-}" ] || printf "      saw: %s\n" "$seen"; fail=1; fi; }
key_exists() { run reg query "$1" >/dev/null 2>&1; }
lnk_count() { find "$WINEPREFIX/drive_c" -iname 'Tolvaring.lnk' 2>/dev/null | wc -l; }
# The Start-menu entry that opens the setup dialog: there, and with its argument.
settings_lnk() { find "$WINEPREFIX/drive_c" -iname 'Tolvaring – Einstellungen.lnk' 2>/dev/null | head -n1; }
settings_entry() { f=$(settings_lnk); [ -n "$f" ] && strings -el "$f" | grep -qx '/einstellungen'; }
# And the one for the check start (its text's length before it may read as a blank).
check_lnk() { find "$WINEPREFIX/drive_c" -iname 'Tolvaring – Adresse prüfen.lnk' 2>/dev/null | head -n1; }
check_entry() { f=$(check_lnk); [ -n "$f" ] && strings -el "$f" | grep -Eqx '[[:space:]]*/pruefen'; }

# Current user, with a desktop shortcut.
run "$setup" /S /DESKTOP
local_dir=$(find "$WINEPREFIX/drive_c/users" -ipath '*AppData/Local/Programs/Tolvaring' -type d | head -n1)
check "installed for the current user" '[ -n "$local_dir" ] && [ -f "$local_dir/Tolvaring.exe" ] && [ -f "$local_dir/LIESMICH.txt" ]'
check "Start menu entry and desktop shortcut" '[ "$(lnk_count)" -ge 2 ]'
check "Start menu entry for the settings" 'settings_entry'
check "Start menu entry for the check start" 'check_entry'
check "uninstaller registered for the user" 'key_exists "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tolvaring"'
entry=$(run reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tolvaring' 2>/dev/null | tr -d '\r')
for value in DisplayName DisplayIcon DisplayVersion InstallLocation EstimatedSize NoModify NoRepair \
             UninstallString QuietUninstallString; do
    check "uninstall entry has $value" 'printf "%s\n" "$entry" | grep -q "^ *$value "'
done
check "quiet uninstall is silent" 'printf "%s\n" "$entry" | grep -q "QuietUninstallString.*Uninstall.exe\" /S"'
check "no elevation asked for one user" 'strings -el "$setup" | grep -q "asInvoker" || strings "$setup" | grep -q "asInvoker"'
run reg add 'HKCU\Software\Harlund\Tolvaring\1.0' /v URL /d http://x/ /f >/dev/null 2>&1
# The uninstaller copies itself away and returns at once: wait for its work to be done.
wait_gone() { for _ in $(seq 1 100); do [ -e "$1" ] || return 0; sleep 0.2; done; }
run "$local_dir/Uninstall.exe" /S
wait_gone "$local_dir/Uninstall.exe"
sleep 1
check "settings kept without /REMOVESETTINGS" 'key_exists "HKCU\\Software\\Harlund\\Tolvaring\\1.0"'
check "program removed" '[ ! -f "$local_dir/Tolvaring.exe" ]'
check "shortcuts removed" '[ "$(lnk_count)" -eq 0 ] && [ -z "$(settings_lnk)" ] && [ -z "$(check_lnk)" ]'
check "uninstall entry removed" '! key_exists "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tolvaring"'

# All users; the settings go too.
run "$setup" /S /ALLUSERS
all_dir="$WINEPREFIX/drive_c/Program Files/Tolvaring"
check "installed for all users" '[ -f "$all_dir/Tolvaring.exe" ]'
check "uninstaller registered for all users" 'key_exists "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tolvaring"'
run "$all_dir/Uninstall.exe" /S /ALLUSERS /REMOVESETTINGS
wait_gone "$all_dir/Uninstall.exe"
sleep 1
check "all-users program removed" '[ ! -f "$all_dir/Tolvaring.exe" ]'
check "settings, and the maker's key left empty, removed with /REMOVESETTINGS" \
    '! key_exists "HKCU\\Software\\Harlund"'
# Without administrator rights: the test build takes itself for a standard user's, so
# its elevated restarts ("runas") really run. Exit codes come through cmd, as Wine passes
# on only their low 8 bits.
exit_code() { run cmd /v:on /c "start /wait \"\" $* & echo rc=!errorlevel!" 2>/dev/null | tr -d '\r' | sed -n 's/^rc=//p'; }
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
custom="$WINEPREFIX/drive_c/Tolvaring Alle"
setup_test="$(winpath "$3") /S /ALLUSERS"
check "a No at the prompt: 1223, nothing installed" \
    '[ "$(exit_code "$setup_test /TESTDECLINE")" = 1223 ] && [ ! -e "$custom" ]'
check "another failure of the elevated start (a policy): its code, nothing installed" \
    '[ "$(exit_code "$setup_test /TESTFAIL=1260")" = 1260 ] && [ ! -e "$custom" ]'
# "Für alle Benutzer" chosen on the installer's page: whatever stopped the elevated start is
# said in its own words, and the page's choice comes back.
driver="$(dirname "$3")/installerdriver.exe"
drive() { run "$driver" "$@" 2>/dev/null | tr -d '\r'; }
saw() { printf '%s\n' "$seen" | grep -q "$1"; }
seen=$(drive page "$(winpath "$3")" /TESTDECLINE)
check "on the page, a No at the prompt: said so, back to the choice" \
    'saw "^box: Windows hat die Administratorrechte nicht erteilt" && saw "^page: back"'
seen=$(drive page "$(winpath "$3")" /TESTFAIL=1260)
check "on the page, another failure of the elevated start: its error, back to the choice" \
    'saw "^box: Windows konnte dieses Programm nicht mit Administratorrechten starten (Fehler 1260" &&
     saw "^page: back" && [ ! -e "$custom" ]'
check "the elevated copy is waited for, with its exit code and /D=" \
    '[ "$(exit_code "$setup_test /D=C:\Tolvaring Alle")" = 0 ] && [ -f "$custom/Tolvaring.exe" ]'
# The test build is made as makensis on a German Windows reads a script (code page 1252).
check "the settings entry's name intact, whatever code page makensis runs in" 'settings_entry'
# Started from a copy, as NSIS starts an uninstaller, on the folder it belongs to.
cp "$custom/Uninstall.exe" "$state/Un.exe"
uninstall="$(winpath "$state/Un.exe") /S /ALLUSERS"
seen=$(drive box "$(winpath "$state/Un.exe")" /ALLUSERS /REMOVESETTINGS /TESTFAIL=1260 "_?=C:\Tolvaring Alle")
check "the uninstaller names another failure of its elevated start, not a No" \
    'saw "^box: Windows konnte dieses Programm nicht mit Administratorrechten starten (Fehler 1260" &&
     ! saw "nicht erteilt"'
chattr +i "$custom/LIESMICH.txt"
check "a file that cannot be removed: exit 2" '[ "$(exit_code "$uninstall _?=C:\Tolvaring Alle")" = 2 ]'
chattr -i "$custom/LIESMICH.txt"
run reg add 'HKCU\Software\Harlund\Tolvaring\1.0' /v URL /d http://x/ /f >/dev/null 2>&1
seen=$(drive box "$(winpath "$state/Un.exe")" /ALLUSERS /TESTDECLINE "_?=C:\Tolvaring Alle")
check "the uninstaller asks about the settings before its elevated start" \
    'saw "^box: Sollen auch die Einstellungen von Tolvaring entfernt werden?"'
check "a No at the uninstaller's prompt: 1223, the settings kept" \
    '[ "$(exit_code "$uninstall /REMOVESETTINGS /TESTDECLINE _?=C:\Tolvaring Alle")" = 1223 ] && [ -e "$custom" ] &&
     key_exists "HKCU\\Software\\Harlund\\Tolvaring\\1.0"'
check "another failure of the uninstaller's elevated start: its code, the settings kept" \
    '[ "$(exit_code "$uninstall /REMOVESETTINGS /TESTFAIL=1260 _?=C:\Tolvaring Alle")" = 1260 ] && [ -e "$custom" ] &&
     key_exists "HKCU\\Software\\Harlund\\Tolvaring\\1.0"'
check "an all-users uninstall restarts elevated and leaves nothing behind" \
    '[ "$(exit_code "$uninstall /REMOVESETTINGS _?=C:\Tolvaring Alle")" = 0 ] && [ ! -e "$custom" ] &&
     [ "$(lnk_count)" -eq 0 ] && [ -z "$(settings_lnk)" ] && [ -z "$(check_lnk)" ] &&
     ! key_exists "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tolvaring" &&
     ! key_exists "HKCU\\Software\\Harlund\\Tolvaring"'
check "installer and uninstaller are DPI-aware" 'strings -el "$setup" | grep -qi "dpiAware" || strings "$setup" | grep -qi "dpiAware"'

# Pictures for the read-me: what the installer shows, with these arguments, a few seconds
# after its start. wine-run.sh becomes the installer's own process, so its PID is the one
# to end.
artifacts="$(dirname "$setup")/../artifacts"
mkdir -p "$artifacts"
picture() { # name, installer, arguments...
    local name=$1
    shift
    "$here/tools/wine-run.sh" "$state" "$@" </dev/null >/dev/null 2>&1 &
    local installer=$!
    sleep 5
    DISPLAY=$DISPLAY import -window root "$artifacts/$name.png" 2>/dev/null &&
        convert "$artifacts/$name.png" -trim +repage "$artifacts/$name.png" 2>/dev/null
    kill -9 "$installer" 2>/dev/null
    wait "$installer" 2>/dev/null
}
# The first page: an installer that speaks German.
picture installer-welcome "$setup"
check "screenshot of the first page" '[ -s "$artifacts/installer-welcome.png" ]'
# The message of an elevated start that fails for another reason than a No.
picture installer-elevation-failed "$3" /ALLUSERS /TESTFAIL=1260
exit $fail
