#!/usr/bin/env bash
# Starts the Windows build's setrovia.exe under Wine on a virtual X display
# (Xvfb) and takes screenshots: the main window in English and in Russian,
# after a read of the simulated instrument, and a protocol written to PDF
# through the print dialog. Run by scripts/windows --shots, with WINEPREFIX
# and the rest of its Wine environment set.
#   shots.sh PROGRAM_FOLDER OUTPUT_FOLDER
set -euo pipefail
program="$1"
out="$2"
mkdir -p "$out"
rm -f "$out"/*.png "$out"/*.pdf
key='HKCU\Software\Ostrevan\Setrovia+'

# Waits up to 60 s for a visible window whose title matches $1.
wait_window() {
    local i
    for i in $(seq 120); do
        if xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 | grep -q .; then
            return 0
        fi
        sleep 0.5
    done
    echo "no window \"$1\"" >&2
    return 1
}

shot() {
    sleep "${2:-2}"
    import -window root "$out/$1.png"
    echo "$out/$1.png"
}

session() {
    local language="$1" name="$2"
    wine reg add "$key" /v language /t REG_DWORD /d "$language" /f >/dev/null
    SETROVIA_SIMULATOR="generation=newer;tests=3" wine "$program/setrovia.exe" \
        "$program/examples/demo-instrument.vtl" &
    local pid=$!
    wait_window "Setrovia|Сетровия"
    shot "$name-main" 4
    # A click into the window gives it the keyboard; F5 reads the instrument.
    xdotool mousemove 600 400 click 1
    xdotool key F5
    shot "$name-read" 6
    if [ "$language" = 1 ]; then
        # Print: the selection dialog with "Print to PDF file", then the preview.
        xdotool key ctrl+p
        shot "$name-print-dialog" 3
    fi
    wineserver -k || true
    wait $pid 2>/dev/null || true
}

# xvfb-run is a sh script, and sh drops exported bash functions: the script
# runs itself again under the display instead.
if [ -z "${SHOTS_ON_DISPLAY:-}" ]; then
    exec env SHOTS_ON_DISPLAY=1 xvfb-run -a -s "-screen 0 1400x900x24" bash "$0" "$@"
fi
session 1 english
session 0 russian
