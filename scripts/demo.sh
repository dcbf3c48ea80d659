#!/bin/bash
# The demo: builds Tessara (i686, or x86_64 where the kernel cannot execute
# Wine's 32-bit loader), starts the Wine test bed (its own Xvfb, or
# your display when DISPLAY is set), the stand-in desktop with sample icons
# and a generated wallpaper, then Tessara itself, and writes screenshots to
# build/<preset>/demo/. Unattended; stops what it started.
#
# Each capability is one step: add a function and list it in `steps`.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

preset=i686
/usr/lib/wine/wine --version >/dev/null 2>&1 || preset=x86_64
build=$root/build/$preset
bin=$build/bin
demo=$build/demo
wine_dir=$root/build/wine
wine_env=$root/testbed/wine/wine-env
[[ -n "${DISPLAY:-}" ]] && export TESSARA_USE_DISPLAY=1

started_bed=0
pids=()
step_no=0

say() { printf '    %s\n' "$*"; }

# Runs a Windows program of the build in the test bed and waits for it.
win() { "$wine_env" run "$wine_dir" "$@"; }

# Starts a Windows program in the background; it is ended at the end.
win_background() {
    "$wine_env" run "$wine_dir" "$@" >/dev/null 2>&1 &
    pids+=($!)
}

# Wine maps the Unix root to drive Z:. Computed here rather than by winepath,
# whose launcher picks the 32-bit loader that some kernels cannot execute.
windows_path() { local path=$1; printf 'Z:%s' "${path//\//\\}"; }

screenshot() {
    win "$bin/deskctl.exe" screenshot "$(windows_path "$demo/$1.png")"
    say "screenshot: $demo/$1.png"
}

step_setup() {
    bash scripts/setup.sh
}

step_build() {
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -- -j2 | tail -1
}

step_test_bed() {
    [[ -f "$wine_dir/display" ]] || started_bed=1
    "$wine_env" start "$wine_dir"
    say "display $(cat "$wine_dir/display"), virtual desktop 1024 x 768, prefix $wine_dir/prefix"
}

step_wallpaper() {
    mkdir -p "$demo"
    python3 testbed/make_wallpaper.py "$demo/wallpaper.bmp" 1024 768
    say "generated $demo/wallpaper.bmp"
    # WallpaperStyle 2, TileWallpaper 0: stretched over the screen.
    win "$bin/deskctl.exe" wallpaper "$(windows_path "$demo/wallpaper.bmp")" 2 0
    say "set as the desktop wallpaper (stretched)"
}

step_shell() {
    win_background "$bin/deskshell.exe"
    win "$bin/deskctl.exe" wait Progman 30
    sleep 1 # Wine brings up its taskbar a moment after the desktop
    say "stand-in desktop running: Progman > SHELLDLL_DefView > SysListView32, 12 sample icons"
    screenshot 01-desktop
}

# Running means its window is there and the process still is: a crashed
# program ends at once, since the test bed starts no debugger.
step_tessara() {
    win_background "$bin/Tessara.exe"
    local pid=${pids[-1]} status=0
    for _ in $(seq 60); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid" || status=$?
            echo "demo: Tessara.exe ended before its window appeared (exit status $status)" >&2
            return 1
        fi
        win "$bin/deskctl.exe" wait Tessara 0 2>/dev/null && break
        sleep 0.5
    done
    win "$bin/deskctl.exe" wait Tessara 0
    sleep 1
    kill -0 "$pid" 2>/dev/null || { echo "demo: Tessara.exe ended right after it opened its window" >&2; return 1; }
    say "Tessara.exe is running (pid $pid)"
    screenshot 02-tessara-running
}

step_settings_window() {
    win "$bin/deskctl.exe" wait Tessara 40
    sleep 1 # the window paints once it is shown
    say "settings window open: tab control, buttons, links and status line"
    screenshot 03-settings-window
}

step_save_icons() {
    win "$bin/Tessara.exe" -save
    say "Tessara.exe -save stored the layout through the running instance's desktop link:"
    win reg query 'HKCU\Software\Marrowen' 2>/dev/null |
        tr -d '\r' | awk '/SavedIcons/ {print "      " $1 " (" $2 ")"}'
}

step_scramble_icons() {
    win "$bin/deskctl.exe" scramble
    sleep 1
    say "icons moved away from their saved places"
    screenshot 04-icons-scrambled
}

step_restore_icons() {
    win "$bin/Tessara.exe" -restore
    sleep 1
    say "Tessara.exe -restore put every icon back by its caption"
    screenshot 05-icons-restored
}

step_settings_pages() {
    local index name
    for index in 1 2 5; do
        name=$(echo "colors hiding positions desktop tray options about" | cut -d' ' -f$((index + 1)))
        win "$bin/deskctl.exe" tab "$index"
        sleep 1
        screenshot "06-page-$name"
    done
}

step_tray_menu() {
    win "$bin/deskctl.exe" tray-menu "$(windows_path "$demo/07-tray-menu.png")"
    say "screenshot of the tray icon's menu: $demo/07-tray-menu.png"
}

# A photo as Windows users have them: JPEG. Tessara is started again for it,
# since under Wine a running program keeps the wallpaper path it first read.
step_wallpaper_colors() {
    python3 testbed/make_wallpaper.py "$demo/photo.bmp" 640 400
    convert "$demo/photo.bmp" -quality 90 "$demo/photo.jpg"
    win "$bin/Tessara.exe" -stop
    win "$bin/deskctl.exe" wallpaper "$(windows_path "$demo/photo.jpg")" 0 0
    win_background "$bin/Tessara.exe"
    win "$bin/deskctl.exe" wait Tessara 30
    sleep 2
    win "$bin/deskctl.exe" tab 3
    win "$bin/deskctl.exe" click 1118 # Set desktop color based on wallpaper colors
    sleep 3
    say "a centred JPEG photo: the desktop colour around it follows the picture"
    screenshot 08-photo-centred
    win "$bin/deskctl.exe" click 1159 # Retain aspect ratio of stretched wallpaper
    sleep 4
    say "the photo stretched, kept to its proportions; the desktop colour fills the rest"
    screenshot 09-photo-stretched-kept-in-proportion
}

# "Always hide" from the hiding tab hides the icons at once; "Never hide"
# brings them back.
step_hiding_modes() {
    win "$bin/deskctl.exe" tab 1
    win "$bin/deskctl.exe" click 1018 # Always hide
    sleep 1
    say "Always hide: the desktop icons are hidden"
    screenshot 10-hiding-always
    win "$bin/deskctl.exe" click 1103 # Never hide
    sleep 1
    say "Never hide: the icons are back"
    screenshot 11-hiding-never
}

# The placement buttons of the positions tab line the icons up; a restore
# brings the saved layout back.
step_align_icons() {
    win "$bin/deskctl.exe" tab 2
    win "$bin/deskctl.exe" click 1135 # Edge
    sleep 2
    say "Edge: the icons lined up around the screen's edge"
    screenshot 12-icons-along-the-edge
    win "$bin/Tessara.exe" -restore
    sleep 1
    say "Tessara.exe -restore put them back"
}

# The "?" button starts the icon dance; "X" stops it and every icon goes home.
step_icon_dance() {
    win "$bin/deskctl.exe" click 1111
    sleep 3
    say "the icons dance"
    screenshot 13-icon-dance
    win "$bin/deskctl.exe" click 1111
    sleep 2
    say "the dance stopped: every icon is home"
    screenshot 14-icons-home-after-the-dance
}

# Started with "-test", Tessara opens its test page on the folder of the
# current wallpaper; ">" sets the next bitmap there (a low one: tiled) and
# "Broadcst" tells the desktop.
step_test_browser() {
    python3 testbed/make_wallpaper.py "$demo/tile.bmp" 160 120
    win "$bin/Tessara.exe" -stop
    win_background "$bin/Tessara.exe" -test
    win "$bin/deskctl.exe" wait Tessara 30
    # The window exists before it has attached and opened its test page.
    sleep 6
    win "$bin/deskctl.exe" click 1207 # ">": the next picture of the list
    win "$bin/deskctl.exe" click 1198 # Broadcst
    sleep 2
    say "the [ Test ] page: tile.bmp set as the wallpaper, tiled because it is lower than 257 pixels"
    screenshot 15-test-page-tiled-wallpaper
}

# The Colors page previews the caption colours on the desktop behind the
# window; the About page is drawn: picture, icon, swinging title, version.
step_about_page() {
    win "$bin/deskctl.exe" tab 0
    sleep 1
    say "the caption preview on the Colors page"
    screenshot 16-caption-preview
    win "$bin/deskctl.exe" tab 6
    sleep 1
    say "the drawn About page"
    screenshot 17-about-page
}

step_color_sampler() {
    win "$bin/deskctl.exe" tab 0
    win "$bin/deskctl.exe" mouse-on 1001 right # Text Color box: pick from the screen
    win "$bin/deskctl.exe" wait ICSampler 10
    win "$bin/deskctl.exe" mouse 300 200 move
    sleep 0.5
    say "the sampler covers the screen with the desktop picture (plain white under Wine, whose"
    say "PaintDesktop draws no wallpaper); the box beside the pointer shows the pixel and the average"
    screenshot 18-color-sampler
    win "$bin/deskctl.exe" mouse 300 200 left
    sleep 1
    say "the picked colour is the caption text colour, and Automatic Text Color is off"
    screenshot 19-picked-text-color
}

steps=(
    "step_setup:Install whatever is missing"
    "step_build:Build the $preset preset (Tessara.exe, deskhook.dll, test-bed tools)"
    "step_test_bed:Start the Wine test bed"
    "step_wallpaper:Generate and set the sample wallpaper"
    "step_shell:Start the stand-in desktop shell with sample icons"
    "step_tessara:Start Tessara"
    "step_settings_window:Tessara attaches to the desktop and opens its settings window"
    "step_save_icons:Save the icon layout from the command line"
    "step_scramble_icons:Scramble the icons"
    "step_restore_icons:Restore the icon layout from the command line"
    "step_settings_pages:Show some pages of the settings window"
    "step_tray_menu:Open the tray icon's menu"
    "step_wallpaper_colors:Desktop colour from a JPEG photo, and the photo stretched in proportion"
    "step_hiding_modes:Hide the desktop icons always, then never"
    "step_align_icons:Line the icons up along the screen's edge, then restore them"
    "step_icon_dance:Start the icon dance and stop it"
    "step_test_browser:Start Tessara with -test and set a wallpaper from its test page"
    "step_about_page:Show the caption preview and the About page"
    "step_color_sampler:Pick the caption text colour from the screen"
)

teardown() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
    done
    if ((started_bed)); then
        "$wine_env" stop "$wine_dir"
        echo "==> Test bed stopped"
    fi
}
trap teardown EXIT
# A failing command inside a step is named; a step that fails with its own
# reason has printed it already.
set -E
failed() {
    local command=$1 line=$2
    [[ $command == run_step ]] && command="" || command=" at line $line: $command"
    echo "demo: step $step_no failed$command" >&2
}
trap 'failed "$BASH_COMMAND" "$LINENO"' ERR
run_step() { "${entry%%:*}"; }

if [[ $preset == i686 ]]; then
    echo "==> The demo shows the 32-bit build (i686), the one for 32-bit Windows"
else
    echo "==> The demo shows the 64-bit build (x86_64): this kernel cannot execute 32-bit programs"
fi
for entry in "${steps[@]}"; do
    step_no=$((step_no + 1))
    echo "==> [$step_no/${#steps[@]}] ${entry#*:}"
    run_step
done
echo "==> Done: screenshots in $demo"
