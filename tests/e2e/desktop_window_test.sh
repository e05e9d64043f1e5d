#!/usr/bin/env bash
# The running game as a desktop sees it, under a window manager: the window's class is the
# one its desktop entry names (StartupWMClass, which is also the entry's own name), so docks
# and task bars put the window under the launcher's icon; and the window's icon is the game's
# own icon picture, from the picture set of the screen's scale (2 on this 1600 x 1200 screen).
screen_size=1600x1200
source "$(dirname "$0")/preamble.sh"
source_dir=$(cd "$here/../.." && pwd)
start_window_manager
make_game_copy "$game_dir"
shots="$out_dir/desktop_window"

entry="$source_dir/packaging/net.pelmar.cablewright.desktop"
entry_class=$(sed -n 's/^StartupWMClass=//p' "$entry")
[ "$entry_class" = "$(basename "$entry" .desktop)" ] || fail "StartupWMClass '$entry_class' is not the entry's name"

"$copy/cablewright" > "${shots}_stdout.txt" 2> "${shots}_stderr.txt" &
pid=$!
wait_for_brightness "${shots}_menu.png" 0.12 40
window=$(xdotool search --name '^Cablewright$' | head -1)
[ -n "$window" ] || fail "no window named Cablewright"

class=$(xprop -id "$window" WM_CLASS)
echo "$class"
[ "$class" = "WM_CLASS(STRING) = \"$entry_class\", \"$entry_class\"" ] || fail "the window's class is not the entry's"

# _NET_WM_ICON: width, height, then one ARGB value a pixel, row by row.
xprop -id "$window" -notype -f _NET_WM_ICON 32c '=$0+\n' _NET_WM_ICON > "${shots}_icon.txt"
convert "$game_dir/gfx@2/window_icon.png" -depth 8 rgba:"${shots}_picture.rgba"
size=$(identify -format '%w %h' "$game_dir/gfx@2/window_icon.png")
python3 - "${shots}_icon.txt" "${shots}_picture.rgba" $size << 'EOF' || fail "the window's icon is not the picture"
import sys
text, rgba_file, width, height = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
values = [int(v) for v in open(text).read().split("=", 1)[1].replace(",", " ").split()]
rgba = open(rgba_file, "rb").read()
icon_width, icon_height, pixels = values[0], values[1], values[2:]
print(f"window icon {icon_width} x {icon_height}, picture {width} x {height}")
if (icon_width, icon_height) != (width, height) or len(pixels) != width * height:
    sys.exit(1)
differing = 0
for i, argb in enumerate(pixels):
    r, g, b, a = rgba[4 * i: 4 * i + 4]
    if a == 0:
        differing += (argb >> 24) != 0  # the colour of a clear pixel is nobody's business
    else:
        differing += argb != (a << 24 | r << 16 | g << 8 | b)
print(f"pixels differing from the picture: {differing}")
sys.exit(differing != 0)
EOF

escape_until_exit "$pid" 20
[ "$exit_status" = 0 ] || fail "the game ended with status $exit_status"
echo PASS
