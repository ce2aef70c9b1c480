#!/usr/bin/env bash
# The setup program and the portable archive under Wine, in a throwaway prefix
# of their own: a silent install, the installed program running, a silent
# uninstall while it runs; then the files and registry values left behind.
#   installer_test.sh <setup.exe> <portable.zip> <zepton.exe> <help.chm>
set -euo pipefail
setup=$1 portable=$2 program=$3 help=$4
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib.sh"

work=$(mktemp -d /tmp/zepton-installer.XXXXXX)
cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
check() {  # check <what> <command...>
  local what=$1
  shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
no() { ! "$@"; }

# The lines of one key of a registry file Wine has written: its values, one a line.
key_values() {  # key_values <file> <key as Wine writes it>
  KEY="[$2]" awk 'index($0, ENVIRON["KEY"]) == 1 { inside = 1; next } /^\[/ { inside = 0 } inside' "$1"
}
has_value() {  # has_value <file> <key> <"name"=data line>
  key_values "$1" "$2" | grep -qxF "$3"
}
has_name() {  # has_name <file> <key> <name>
  key_values "$1" "$2" | grep -q "^\"$3\"="
}
in_registry() { wine reg query "$1" /v "$2" >/dev/null 2>&1; }  # in_registry <key> <value name>
has_key() { grep -qF "[$2]" "$1"; }
# Runs a Windows program and waits for every process of the prefix to end
# (an NSIS uninstaller goes on in a copy of itself); a generous limit.
run_and_wait() { wine "$@" >/dev/null 2>&1; timeout 120 wineserver -w; }

# The prefix: sandboxed Desktop, no display needed; its server is not kept
# running, so that "wineserver -w" sees the programs end.
make_prefix "$work/prefix" >/dev/null 2>&1
wineserver -k
user=$(wine_user)
home="$WINEPREFIX/drive_c/users/$user"
installed="$home/AppData/Local/Programs/Zepton"
installed_win="C:\\users\\$user\\AppData\\Local\\Programs\\Zepton"
menu="$home/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Zepton.lnk"
uninstall_key='Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zepton'
run_key='Software\\Microsoft\\Windows\\CurrentVersion\\Run'
setup_key='Software\\Kestrin\\Zep\\Setup'
run_value="\"Zepton\"=\"\\\"${installed_win//\\/\\\\}\\\\zepton.exe\\\"\""  # the path in quotes
user_reg="$WINEPREFIX/user.reg" system_reg="$WINEPREFIX/system.reg"

check "the setup asks for no administrator rights" grep -qa 'level="asInvoker"' "$setup"

check "the setup ran silently to its end" run_and_wait "$setup" /S
check "the program is installed as built" cmp -s "$program" "$installed/zepton.exe"
check "the help is installed as built" cmp -s "$help" "$installed/help.chm"
check "an uninstaller is installed" test -f "$installed/uninstall.exe"
check "a Start-menu shortcut" test -f "$menu"
check "registered for uninstalling" has_value "$user_reg" "$uninstall_key" '"DisplayName"="Zepton"'
check "the uninstaller's command" has_value "$user_reg" "$uninstall_key" \
  "\"UninstallString\"=\"\\\"${installed_win//\\/\\\\}\\\\uninstall.exe\\\"\""

# The finish page's logon option, on by default and off by /NOAUTORUN: the
# user's entry that Auto-Run writes, and Auto-Run's stored wish to match.
check "starts at logon, the path in quotes" has_value "$user_reg" "$run_key" "$run_value"
check "no settings yet: the first start stays a first start" no has_key "$user_reg" "$setup_key"
check "the setup ran silently without the logon option" run_and_wait "$setup" /S /NOAUTORUN
check "no start at logon" no has_name "$user_reg" "$run_key" Zepton
check "Auto-Run's stored wish is up" has_value "$user_reg" "$setup_key" '"Run"=dword:00000000'
check "the setup ran silently with the logon option" run_and_wait "$setup" /S
check "starts at logon again" has_value "$user_reg" "$run_key" "$run_value"
check "Auto-Run's stored wish is down again" has_value "$user_reg" "$setup_key" '"Run"=dword:00000001'

# The installed program starts and makes its folders beside itself. A group,
# a shortcut and the auto-start entries (this copy's, as older versions wrote
# it machine-wide, and another copy's) go in.
wine "$installed/zepton.exe" >/dev/null 2>&1 &
for _ in $(seq 600); do [[ -d $installed/data && -d $installed/repository ]] && break; sleep 0.1; done
check "the program made data and repository" test -d "$installed/data" -a -d "$installed/repository"
printf 'Mail\r\n' >"$installed/data/Work.dat"
printf 'shortcut' >"$installed/repository/Mail.lnk"
wine reg add 'HKLM\Software\Microsoft\Windows\CurrentVersion\Run' /v Zepton /d "$installed_win\\zepton.exe" /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v ZeptonOther /d 'D:\Zepton\zepton.exe' /f >/dev/null 2>&1
for root in HKCU HKLM; do
  check "$root's auto-start entry is in place" in_registry "$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Run" Zepton
done

# Uninstalled while the program runs: the uninstaller asks it to close first.
check "the uninstaller ended, and the program with it" run_and_wait "$installed/uninstall.exe" /S
check "the program is removed" test ! -e "$installed/zepton.exe"
check "the help is removed" test ! -e "$installed/help.chm"
check "the uninstaller is removed" test ! -e "$installed/uninstall.exe"
check "the Start-menu shortcut is removed" test ! -e "$menu"
check "the uninstall entry is removed" no has_key "$user_reg" "$uninstall_key"
check "the per-user auto-start entry is removed" no has_name "$user_reg" "$run_key" Zepton
check "the machine-wide auto-start entry is removed" no has_name "$system_reg" "$run_key" Zepton
check "another value of the Run key stays" has_name "$user_reg" "$run_key" ZeptonOther
check "the groups are kept" cmp -s <(printf 'Mail\r\n') "$installed/data/Work.dat"
check "the shortcuts are kept" cmp -s <(printf 'shortcut') "$installed/repository/Mail.lnk"
check "the program was closed as by Exit: it stored its settings" \
  has_name "$user_reg" "$setup_key" left

# The portable archive: one folder with the program and its help, as built.
unpacked="$work/portable"
mkdir -p "$unpacked"
(cd "$unpacked" && cmake -E tar xf "$portable")
check "the archive holds exactly Zepton/help.chm and Zepton/zepton.exe" \
  test "$(cd "$unpacked" && find . -type f | sort | tr '\n' ' ')" = "./Zepton/help.chm ./Zepton/zepton.exe "
check "the archived program is as built" cmp -s "$program" "$unpacked/Zepton/zepton.exe"
check "the archived help is as built" cmp -s "$help" "$unpacked/Zepton/help.chm"

((failures == 0)) || { echo "$failures failed"; exit 1; }
