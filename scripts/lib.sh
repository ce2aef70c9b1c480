# Shared by scripts/run, scripts/test and scripts/bench: installing what is
# missing, and a throwaway Wine prefix whose Desktop never reaches the real user's folders.
# shellcheck shell=bash

ZEPTON_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ZEPTON_PACKAGES=(cmake clang libclang-rt-14-dev googletest
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine32:i386 wine64
  fonts-wine xvfb xauth x11-utils imagemagick xdotool
  fp-utils libchm-bin nsis)
ZEPTON_DESKTOP=zepton ZEPTON_DESKTOP_WIDTH=1024 ZEPTON_DESKTOP_HEIGHT=700

say() { printf '==> %s\n' "$*" >&2; }

# Installs the packages that are not there yet; a warm machine skips apt entirely.
ensure_packages() {
  local missing=() p
  dpkg --print-foreign-architectures | grep -qx i386 || { dpkg --add-architecture i386; NEED_UPDATE=1; }
  for p in "${ZEPTON_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if ((${#missing[@]})); then
    say "installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  elif [[ -n ${NEED_UPDATE:-} ]]; then
    apt-get update -qq
  fi
}

# start_x: a private Xvfb on a free display; sets DISPLAY and XVFB_PID.
start_x() {
  local fifo
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  XVFB_PID=$!
  local n
  read -r n <"$fifo"
  rm -f "$fifo"
  export DISPLAY=":$n"
}

# make_prefix DIR [graphics]: a new Wine prefix in DIR, sandboxed, with its own
# virtual desktop (or the null graphics driver when no second argument is given).
make_prefix() {
  export WINEPREFIX=$1 WINEARCH=win64 WINEDEBUG=-all
  # Wine's Recycle Bin is $XDG_DATA_HOME/Trash: the prefix's own, not the Linux user's.
  export XDG_DATA_HOME=$WINEPREFIX/home
  local graphics=${2:-}
  mkdir -p "$WINEPREFIX"
  WINEDLLOVERRIDES="mscoree,mshtml=" wine wineboot -i >/dev/null 2>&1
  wineserver -w
  mkdir -p "$XDG_DATA_HOME"
  sandbox_user_folders
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
  local reg
  reg=$(mktemp --suffix=.reg)
  {
    printf 'REGEDIT4\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]\r\n"ShowCrashDialog"=dword:00000000\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders]\r\n'
    printf '"Desktop"="C:\\\\users\\\\%s\\\\Desktop"\r\n\r\n' "$(wine_user)"
    if [[ -n $graphics ]]; then
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\r\n"Desktop"="%s"\r\n\r\n' "$ZEPTON_DESKTOP"
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\r\n"%s"="%sx%s"\r\n\r\n' "$ZEPTON_DESKTOP" \
        "$ZEPTON_DESKTOP_WIDTH" "$ZEPTON_DESKTOP_HEIGHT"
    else
      printf '[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]\r\n"Graphics"="null"\r\n\r\n'
    fi
  } >"$reg"
  wine regedit /S "$(winepath -w "$reg")" >/dev/null 2>&1
  wineserver -w
  rm -f "$reg"
  # A persistent server, started after the settings above: test processes then
  # never inherit CTest's pipes through a server they started themselves.
  wineserver -p
}

wine_user() { ls "$WINEPREFIX/drive_c/users" | grep -v -x -e Public -e public | head -n1; }

# Wine links Desktop, Documents and the like to the Linux user's own folders:
# replace every such link with a real empty folder inside the prefix.
sandbox_user_folders() {
  local dir link
  for dir in "$WINEPREFIX"/drive_c/users/*; do
    for link in "$dir"/*; do
      if [[ -L $link ]]; then rm -f "$link"; mkdir -p "$link"; fi
    done
    mkdir -p "$dir/Desktop"
  done
}

# wait_for WHAT SECONDS COMMAND...: runs COMMAND until it succeeds; fails once
# SECONDS have passed without.
wait_for() {
  local what=$1 end=$((SECONDS + $2))
  shift 2
  until "$@"; do
    if ((SECONDS >= end)); then say "gave up waiting for $what"; return 1; fi
    sleep 0.1
  done
}

# x_window_shown NAME: a window of that title is mapped on the X display.
x_window_shown() {
  local id
  for id in $(xwininfo -root -tree | grep -F "\"$1\": (" | awk '{print $1}'); do
    xwininfo -id "$id" | grep -q 'Map State: IsViewable' && return 0
  done
  return 1
}

# icon_in_tray FILE: a screenshot into FILE; true when the taskbar's right end,
# where the program's icon sits, holds more than the bar's own few colours.
icon_in_tray() {
  import -window root "$1"
  (($(convert "$1" -crop "30x20+$((ZEPTON_DESKTOP_WIDTH - 30))+$((ZEPTON_DESKTOP_HEIGHT - 20))" -format %k info:) > 4))
}

# screen_settled FILE: a screenshot of the display into FILE; true when it is
# the same as the one FILE held before.
screen_settled() {
  local before=
  [[ -f $1 ]] && before=$(md5sum <"$1")
  import -window root "$1"
  [[ -n $before && $(md5sum <"$1") == "$before" ]]
}

# screen_differs BEFORE AFTER: a screenshot of the display into AFTER; true
# when it is not the picture in BEFORE.
screen_differs() {
  import -window root "$2"
  [[ $(md5sum <"$2") != $(md5sum <"$1") ]]
}

# start_desktop: the Wine virtual desktop every program of this prefix lands on.
start_desktop() {
  wine explorer "/desktop=$ZEPTON_DESKTOP,${ZEPTON_DESKTOP_WIDTH}x$ZEPTON_DESKTOP_HEIGHT" >/dev/null 2>&1 &
  wait_for "the Wine desktop" 60 x_window_shown "$ZEPTON_DESKTOP - Wine desktop"
}

stop_wine() { wineserver -k 2>/dev/null || true; }
