#!/usr/bin/env bash
# The Windows counter under Wine on a virtual display, on a fresh demo office made by orvdemo.exe, started as the
# office's application starts it: a client script calls General.Run through COM (the class registered as the
# installer registers it), and COM starts orvcounter.exe "/Automation". It must show the login, log in as a demo
# lawyer typed in as a person would (xdotool), show its window with the pending tasks, write a time entry when a
# task is ticked (read back from the database file with sqlite3), and answer a second client's Run itself, with no
# second program and, during the login, no second login. Pictures of each step
# go to build/screenshots/windows/. Wine runs in the build folder's own prefix, so the machine settings orvdemo
# writes and the error log are in that prefix's registry and application-data folder.
#
#   bash scripts/windows-screenshot.sh [Windows build folder, default build-win]
set -euo pipefail
cd "$(dirname "$0")/.."
# On a virtual display of its own, on a free display number.
if [ -z "${ORV_SCREENSHOT_DISPLAY:-}" ]; then
    exec env ORV_SCREENSHOT_DISPLAY=1 xvfb-run -a -s "-screen 0 1280x800x24 -nolisten tcp" bash "$0" "$@"
fi
build=$(realpath "${1:-build-win}")
toolchain=$(bash scripts/windows-toolchain.sh | tail -n 1)
out=$(realpath -m build/screenshots/windows)
work=$(mktemp -d)
fail() {
    echo "windows-screenshot: $*" >&2
    find "$build/wine/drive_c/users" -name errors.log -path '*orvcounter*' -exec cat {} + >&2 2>/dev/null || true
    cat "$work/counter.log" >&2 2>/dev/null || true
    exit 1
}
cleanup() {
    WINEPREFIX=$build/wine /usr/lib/wine/wineserver -k 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$out"

export ORV_WINE_DISPLAY=1 QT_QPA_PLATFORM=windows
wine() { bash cmake/wine-run.sh "$build/wine" "$toolchain" "$@"; }
grab() { wine "$build/tools/orvgrab.exe" "Z:$out/$1" || fail "no picture $1"; }
wait_window() { # wait_window TITLE SECONDS
    for _ in $(seq $(($2 * 5))); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 && return 0
        sleep 0.2
    done
    fail "no window \"$1\" after $2 s"
}

database=$work/demo.db
wine "$build/tools/orvdemo.exe" --database "Z:$database" >/dev/null || fail "orvdemo.exe made no demo office"
entries=tbProcessos_Trabalhos_Tarefas_Lancamentos
query() { sqlite3 -cmd '.timeout 5000' "$database" "$1"; }
first_entry=$(query "SELECT COALESCE(MAX(lancamento_id), 0) FROM $entries")

# The automation class registered for the machine as the installer registers it, and a client
# that says whether its Run went through (Wine's script host shows no script error).
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
general='{5E0C2F1B-8D4A-4C6B-A1F2-7B3E9D5C4A10}'
classes='HKLM\Software\Classes'
wine reg add "$classes\OrvCounter.General\CLSID" /ve /d "$general" /f >/dev/null
wine reg add "$classes\CLSID\\$general\LocalServer32" /ve /d "\"$(windows_path "$build/app/orvcounter.exe")\" /Automation" \
    /f >/dev/null
printf 'CreateObject("OrvCounter.General").Run\r\nWScript.Echo "ran"\r\n' >"$work/run.vbs"
run_general() { WINEDEBUG=err+ole wine cscript //nologo "$(windows_path "$work/run.vbs")" 2>>"$work/counter.log" | tr -d '\r'; }

[ "$(run_general)" = ran ] || fail "General.Run did not start the counter"
wait_window "Login Orv Counter" 90
# A Run while the login waits finds that login: one start-up at a time.
[ "$(run_general)" = ran ] || fail "a General.Run during the login failed"
sleep 2
[ "$(xdotool search --onlyvisible --name "Login Orv Counter" | wc -l)" -eq 1 ] || fail "a second Run opened a second login"
sleep 2
grab 01-login.png
xdotool type --delay 30 mferreira
xdotool key Tab
xdotool type --delay 30 demo
xdotool key Return
wait_window "Contador de Tarefas" 60
sleep 4
grab 02-counter.png

# Tick the first row of the list (click it, then Space on its check box); a row already counting is ticked again
# after its untick.
window=$(xdotool search --onlyvisible --name "Contador de Tarefas" | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$window")"
running=$(query "SELECT COUNT(*) FROM $entries WHERE inprogress <> 0")
xdotool mousemove --window "$window" $((WIDTH / 2)) $((HEIGHT / 3)) click 1
sleep 1
xdotool key Home space
sleep 3
if [ "$(query "SELECT COUNT(*) FROM $entries WHERE inprogress <> 0")" -lt "$running" ]; then
    xdotool key space
fi
for _ in $(seq 50); do
    new=$(query "SELECT COUNT(*) FROM $entries WHERE lancamento_id > $first_entry AND inprogress <> 0")
    [ "$new" -gt 0 ] && break
    sleep 0.2
done
[ "$new" -gt 0 ] || fail "the tick wrote no time entry"
sleep 2
grab 03-ticked.png
# A second client's Run reaches the running counter: the same one program, its window still there.
[ "$(run_general)" = ran ] || fail "a second General.Run did not reach the running counter"
sleep 2
# (Counted from /proc: a minimal system has no pgrep. The bracket keeps grep from finding itself.)
counters=$(grep -lsE "$(basename "$build").app.[o]rvcounter\.exe" /proc/[0-9]*/cmdline | wc -l)
[ "$counters" -eq 1 ] || fail "a second General.Run started a second counter ($counters running)"
wait_window "Contador de Tarefas" 10
echo "General.Run started the counter through COM, and a second Run reached the same one."
echo "A time entry was written by the tick:"
query "SELECT lancamento_id, tarefa_id, data, inprogress FROM $entries WHERE lancamento_id > $first_entry"
echo "Pictures in $out"
