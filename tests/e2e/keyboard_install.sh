#!/usr/bin/env bash
# End to end on the virtual display with the keyboard alone (xdotool keys, no
# pointer): Escape asks the exit question, which is answered by keys; then
# the licence link opens the agreement, which scrolls and closes by keys, the
# licence box is unticked and ticked again, "开始安装" starts the install and,
# at 100 %, Enter presses "立即体验". Screenshots of the focus cue go to
# BUILD/artifacts/e2e/keyboard-*.png.
#   keyboard_install.sh BUILD_DIR
set -euo pipefail
failure_shot=keyboard-failure
. "$(dirname "$0")/e2e_common.sh"
# Keys go to the window that has the focus, as typed.
keys() {
  for key in "$@"; do
    xdotool key "$key"
    sleep 0.3
  done
}
shot() { sleep 0.3; import -window root "$art/keyboard-$1.png"; }
main_title='^Velora 安装程序$'

target_unix="$prefix/drive_c/velora-e2e-keys/Velora"
rm -rf "$prefix/drive_c/velora-e2e-keys"
run reg add 'HKLM\SOFTWARE\Corvane Network\Velora' /v dir /t REG_SZ /d 'C:\velora-e2e-keys\Velora' \
  /f >/dev/null 2>&1
run taskkill /f /im Dovanix.exe >/dev/null 2>&1 || true
export VELORA_DEMO_PACE_MS=2000

# 1. Escape is the close button: the exit question; Enter keeps the window
#    ("取消" is its default), Tab and Enter answer "确定" and end it.
run "$build/bin/VeloraSetup.exe" &
installer=$!
trap 'kill $installer 2>/dev/null || true; run taskkill /f /im Dovanix.exe >/dev/null 2>&1 || true' EXIT
wait_for 300 window_named "$main_title" || fail "the installer window did not appear"
sleep 0.5
keys Escape
wait_for 50 window_named '^提示$' || fail "Escape did not ask the exit question"
shot 1-exit-question
keys Return
wait_for 50 bash -c "! xdotool search --onlyvisible --name '^提示$' | grep -q ." ||
  fail "Enter on the exit question did not keep the window"
window_named "$main_title" || fail "the main window went away"
keys Escape
wait_for 50 window_named '^提示$' || fail "Escape did not ask again"
keys Tab Return
code=0
wait "$installer" || code=$?
[ "$code" -eq 0 ] || fail "leaving by the keyboard exited with $code"

# 2. The install.
run "$build/bin/VeloraSetup.exe" &
installer=$!
wait_for 300 window_named "$main_title" || fail "the installer window did not appear again"
sleep 0.5
keys Tab
shot 2-check-focused
keys space
shot 3-unticked
keys space Tab
shot 4-link-focused
keys Return
wait_for 50 window_named '^Velora 用户许可协议$' || fail "Enter on the link did not open the agreement"
sleep 0.5
keys Next Next Down
shot 5-agreement-scrolled
keys Escape
wait_for 50 window_named "$main_title" || fail "Escape did not bring the main window back"
window_named '^Velora 用户许可协议$' && fail "the agreement stayed open"
keys shift+Tab shift+Tab
shot 6-install-focused
keys Return
sleep 1
shot 7-progress
wait_for 600 test -f "$target_unix/Profiles/channel.dat" || fail "the install did not reach 100 %"
sleep 0.5
shot 8-done
[ -f "$target_unix/Program/Dovanix.exe" ] || fail "the product was not installed"
keys Return
code=0
wait "$installer" || code=$?
[ "$code" -eq 0 ] || fail "the installer exited with $code"
wait_for 200 window_named '^Velora$' || fail "Enter on \"立即体验\" did not start the product"
echo "keyboard install: passed; screenshots in $art/keyboard-*.png"
