#!/usr/bin/env bash
# Soak test of the editor (not part of the test command): an AddressSanitizer
# build of the editor on its own Xvfb, a canvas and a part loaded from the
# command line, and for SECONDS random pointer moves, clicks, drags, wheel
# notches and keys with modifiers over the main window and every dialog that
# opens. At the end: whether it is alive, its resident memory at the start
# and the end, its exit code after a close request by its title bar's close
# button, and every sanitizer report.
#
# The editor runs in a temporary folder (its program copied there, which is
# where its file dialogs start; HOME there too), typed file names are plain
# letters, and the file dialogs' "上へ" row is never clicked, so saves stay
# in that folder. Run as root, the editor runs as the user nobody, who can
# write nowhere else but the system's temporary folders; files it left there
# are listed at the end.
#
#   scripts/soak.sh SECONDS [BUILD_FOLDER]    (default build-sanitize)
#
# SOAK_ASAN_OPTIONS adds AddressSanitizer options; quarantine_size_mb=0,
# for one, keeps freed memory from counting in the resident figures
# (AddressSanitizer holds up to 256 MB of freed blocks back by default).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?usage: scripts/soak.sh SECONDS [BUILD_FOLDER]}
build=${2:-build-sanitize}
jobs=2

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Sanitize >/dev/null
cmake --build "$build" -j"$jobs" --target tesserine

# home/: the editor's folder, HOME and every file it saves; sanitizer/
# beside it, out of the file dialogs' way.
soak=$(mktemp -d /tmp/tesserine-soak.XXXXXX)
work="$soak/home"
reports="$soak/sanitizer"
mkdir -p "$work" "$reports"
cp "$build/app/tesserine" "$work/tesserine"
# A canvas and a part of the editor's own formats, made with ImageMagick.
convert -size 480x360 gradient:'#3060c0-#f0c060' "$work/canvas.png"
convert -size 90x70 xc:white -fill '#c02020' -draw 'circle 45,35 45,8' "$work/part.bmp"
touch "$work/.started"

run_as=()
soak_user=$(id -u)
if [ "$(id -u)" = 0 ]; then
  soak_user=65534
  chown -R "$soak_user:$soak_user" "$soak"
  run_as=(setpriv --reuid="$soak_user" --regid="$soak_user" --clear-groups --)
fi

# The display: a server of the soak's own on a free number.
for n in $(seq 150 199); do
  if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then
    Xvfb ":${n}" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":${n}"
    break
  fi
done
editor_pid=""
cleanup() {
  [ -n "$editor_pid" ] && kill "$editor_pid" 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 1 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

export ASAN_OPTIONS="detect_leaks=1:log_path=$reports/asan${SOAK_ASAN_OPTIONS:+:$SOAK_ASAN_OPTIONS}"
export UBSAN_OPTIONS="print_stacktrace=1:log_path=$reports/ubsan"
(cd "$work" && HOME="$work" exec "${run_as[@]}" ./tesserine canvas.png part.bmp >"$work/stdout.txt" 2>"$work/stderr.txt") &
editor_pid=$!

# Windows on the screen by title: "id x y width height title" lines.
shown_windows() {
  local id geometry
  for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    geometry=$(xdotool getwindowgeometry --shell "$id" 2>/dev/null) || continue
    eval "$geometry"
    echo "$id $X $Y $WIDTH $HEIGHT $(xdotool getwindowname "$id" 2>/dev/null)"
  done
}
rss() { awk '/^VmRSS/ { print $2 " " $3 }' "/proc/$1/status" 2>/dev/null || echo "gone"; }

for _ in $(seq 1 600); do
  shown_windows | grep -q ' Tesserine$' && break
  sleep 0.1
done
main=$(shown_windows | grep ' Tesserine$' | head -1)
[ -n "$main" ] || { echo "soak: the editor showed no window"; cat "$work/stderr.txt"; exit 1; }
read -r main_id main_x main_y main_w main_h _ <<<"$main"
editor=$editor_pid # the subshell and setpriv exec the editor in their place
sleep 2
rss_start=$(rss "$editor")
echo "soak: editor pid $editor on $DISPLAY, window $main_w x $main_h at $main_x,$main_y, RSS at start $rss_start"

modifiers=("" "" "" "ctrl+" "shift+" "alt+" "ctrl+shift+" "ctrl+alt+")
keys=(z y n o s p d a Left Right Up Down Return Escape Tab BackSpace Delete Home End space 1 5 0 minus)
letters=abcdefghijklmnopqrstuvwxyz0123456789
pick() { local -n list=$1; echo "${list[RANDOM % ${#list[@]}]}"; }
name() {
  local text="" i
  for i in $(seq 0 $((RANDOM % 6))); do text+=${letters:RANDOM%${#letters}:1}; done
  echo "$text"
}
# A random point of the box x y w h; file dialogs keep out of their top
# 60 pixels (the folder line and "上へ").
point() {
  local x=$1 y=$2 w=$3 h=$4 top=${5:-0}
  echo "$((x + RANDOM % w)) $((y + top + RANDOM % (h - top)))"
}

act_on() {
  local x=$1 y=$2 w=$3 h=$4 top=$5 p q
  p=$(point "$x" "$y" "$w" "$h" "$top")
  case $((RANDOM % 16)) in
  0 | 1 | 2) xdotool mousemove $p ;;
  3 | 4 | 5) xdotool mousemove $p click 1 ;; # press and release at once
  6) xdotool mousemove $p click --repeat 2 --delay 40 1 ;;
  7) xdotool mousemove $p click 3 ;;
  8 | 9)
    q=$(point "$x" "$y" "$w" "$h" "$top")
    xdotool mousemove $p mousedown 1 mousemove $q mousemove $(point "$x" "$y" "$w" "$h" "$top") mouseup 1
    ;;
  10) xdotool mousemove $p click "$((4 + RANDOM % 2))" ;;
  11) xdotool keydown ctrl mousemove $p click "$((4 + RANDOM % 2))" keyup ctrl ;;
  12) # Space held: pan by a drag, or with Ctrl (and Alt) zoom by a click
    case $((RANDOM % 3)) in
    0) xdotool mousemove $p keydown space mousedown 1 mousemove $(point "$x" "$y" "$w" "$h" "$top") mouseup 1 keyup space ;;
    1) xdotool mousemove $p keydown space keydown ctrl click 1 keyup ctrl keyup space ;;
    2) xdotool mousemove $p keydown space keydown ctrl keydown alt click 1 keyup alt keyup ctrl keyup space ;;
    esac
    ;;
  13) xdotool type --delay 5 -- "$(name)" ;;
  *) xdotool key "$(pick modifiers)$(pick keys)" ;;
  esac
}

end=$((SECONDS + seconds))
actions=0
dialog_age=0
dialogs_seen=0
restored=0
next_sample=$((SECONDS + 60))
while [ "$SECONDS" -lt "$end" ]; do
  if [ "$SECONDS" -ge "$next_sample" ]; then
    echo "soak: after $((seconds - end + SECONDS)) s, $actions actions: resident memory $(rss "$editor")"
    next_sample=$((SECONDS + 60))
  fi
  if ! kill -0 "$editor" 2>/dev/null; then
    echo "soak: the editor ended during the run after $actions actions"
    break
  fi
  others=$(shown_windows | grep -v ' Tesserine$' | grep -v ' FNDropDownList$' || true)
  if [ -n "$others" ]; then
    # The newest dialog is modal: work on it, and close it now and then.
    read -r d_id d_x d_y d_w d_h d_title <<<"$(tail -1 <<<"$others")"
    dialog_age=$((dialog_age + 1))
    [ "$dialog_age" = 1 ] && dialogs_seen=$((dialogs_seen + 1))
    top=0
    case "$d_title" in *ファイル*) top=60 ;; esac
    if [ "$dialog_age" -gt 40 ] || [ $((RANDOM % 12)) = 0 ]; then
      case $((RANDOM % 3)) in
      0) xdotool key Escape ;;
      1) xdotool key Return ;;
      2) xdotool mousemove "$((d_x + d_w - 19))" "$((d_y + 13))" click 1 ;; # its close button
      esac
    else
      act_on "$d_x" "$d_y" "$d_w" "$d_h" "$top"
    fi
  else
    dialog_age=0
    read -r main_id main_x main_y main_w main_h _ <<<"$(shown_windows | grep ' Tesserine$' | head -1)"
    # Drags on its edges resize the window: now and then it gets its start
    # size and place back, so that the run keeps covering the whole panel.
    if [ $((actions % 100)) = 0 ] && { [ "$main_w" -lt 700 ] || [ "$main_h" -lt 500 ] || [ "$main_x" != 44 ]; }; then
      xdotool windowsize "$main_id" 812 656 windowmove "$main_id" 44 22 2>/dev/null || true
      restored=$((restored + 1))
      actions=$((actions + 1))
      continue
    fi
    # Everything below the title bar (whose buttons would minimise it with
    # no window manager to bring it back, or end the run).
    act_on "$main_x" "$((main_y + 28))" "$main_w" "$((main_h - 28))" 0
  fi
  actions=$((actions + 1))
done
# Nothing held down at the end.
xdotool keyup space keyup ctrl keyup alt keyup shift mouseup 1 2>/dev/null || true

alive=no
kill -0 "$editor" 2>/dev/null && alive=yes
rss_end=$(rss "$editor")
import -window root "$work/soak-end.png" 2>/dev/null || true
echo "soak: $actions actions in $seconds s, $dialogs_seen dialogs opened, window size restored $restored times"
echo "soak: alive at the end: $alive"
echo "soak: resident memory at start $rss_start, at end $rss_end"

if [ "$alive" = yes ]; then
  # Dialogs away, then the close request by the main window's close button.
  for _ in $(seq 1 20); do
    shown_windows | grep -v ' Tesserine$' | grep -q . || break
    xdotool key Escape
    sleep 0.3
  done
  read -r _ main_x main_y main_w main_h _ <<<"$(shown_windows | grep ' Tesserine$' | head -1)"
  xdotool mousemove "$((main_x + main_w - 19))" "$((main_y + 13))" click 1
fi
code=timeout
for _ in $(seq 1 600); do
  if ! kill -0 "$editor" 2>/dev/null; then
    code=0
    wait "$editor" || code=$?
    break
  fi
  sleep 0.1
done
editor_pid=""
echo "soak: exit code after the close request: $code"

found=0
for report in "$reports"/asan.* "$reports"/ubsan.*; do
  [ -e "$report" ] || continue
  found=$((found + 1))
  echo "---- $report"
  cat "$report"
done
echo "soak: sanitizer reports: $found"
strays=$(find /tmp /var/tmp /dev/shm -xdev -newer "$work/.started" -user "$soak_user" -not -path "$soak*" 2>/dev/null || true)
[ "$soak_user" != 0 ] && [ -n "$strays" ] && echo "soak: files the editor wrote outside $work:" && echo "$strays"
echo "soak: files the editor saved in $work: $(find "$work" -newer "$work/.started" -type f \
  -not -name stdout.txt -not -name stderr.txt -not -name soak-end.png | wc -l)"
[ "$alive" = yes ] && [ "$code" = 0 ] && [ "$found" = 0 ]
