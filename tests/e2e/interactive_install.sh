#!/usr/bin/env bash
# End to end on the virtual display: starts the real installer, presses
# "开始安装" with xdotool, follows the demo setup program to 100 %, checks what
# was installed (files, channel file, log-on entry), presses "立即体验" and
# checks that the product starts and the installer exits with 0.
# Screenshots of each page go to BUILD/artifacts/e2e.
#   interactive_install.sh BUILD_DIR
set -euo pipefail
failure_shot=failure
. "$(dirname "$0")/e2e_common.sh"
click_at() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

target_unix="$prefix/drive_c/velora-e2e/Velora"
rm -rf "$prefix/drive_c/velora-e2e"
run reg add 'HKLM\SOFTWARE\Corvane Network\Velora' /v dir /t REG_SZ /d 'C:\velora-e2e\Velora' /f \
  >/dev/null 2>&1
run reg delete 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Velora /f >/dev/null 2>&1 || true
run taskkill /f /im Dovanix.exe >/dev/null 2>&1 || true

export VELORA_DEMO_PACE_MS=3000
run "$build/bin/VeloraSetup.exe" &
installer=$!
trap 'kill $installer 2>/dev/null || true; run taskkill /f /im Dovanix.exe >/dev/null 2>&1 || true' EXIT

wait_for 300 window_named '^Velora 安装程序$' || fail "the installer window did not appear"
wid=$(xdotool search --onlyvisible --name '^Velora 安装程序$' | head -1)
sleep 0.5
import -window root "$art/1-start.png"

# The licence link opens the agreement in place of the main window; its
# "取消" brings the main window back.
click_at "$wid" 170 374
wait_for 50 window_named '^Velora 用户许可协议$' || fail "the agreement did not open"
sleep 0.5
import -window root "$art/1-agreement.png"
agreement=$(xdotool search --onlyvisible --name '^Velora 用户许可协议$' | head -1)
click_at "$agreement" 307 368
wait_for 50 window_named '^Velora 安装程序$' || fail "the main window did not come back"
window_named '^Velora 用户许可协议$' && fail "the agreement stayed open"
sleep 0.3

# "开始安装": the install button's centre in the window.
click_at "$wid" 305 238
sleep 1
import -window root "$art/2-progress.png"
[ -f "$target_unix/Profiles/channel.dat" ] && fail "finished before the progress page could be seen"

wait_for 600 test -f "$target_unix/Profiles/channel.dat" || fail "the install did not reach 100 %"
sleep 0.5
import -window root "$art/3-done.png"

[ -f "$target_unix/Program/Dovanix.exe" ] || fail "the product was not installed"
channel=$(cat "$target_unix/Profiles/channel.dat")
[ "$channel" = "VeloraSetup.exe" ] || fail "channel file holds '$channel'"
run reg query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Run' /v Velora 2>/dev/null |
  grep -qi 'velora-e2e\\Velora\\Program\\Dovanix.exe' || fail "no log-on entry for the product"

# "立即体验" sits where the install button was.
click_at "$wid" 305 238
code=0
wait "$installer" || code=$?
[ "$code" -eq 0 ] || fail "the installer exited with $code"
wait_for 200 window_named '^Velora$' || fail "the product did not start"
sleep 0.5
import -window root "$art/4-product.png"
echo "interactive install: passed; screenshots in $art"
