#!/usr/bin/env bash
# On a 1600 x 1200 screen without a window manager the game fills the screen and draws at the
# screen's own pixels with the pictures of scale 2: the title holds detail finer than one
# logical pixel, where a frame of 800 x 600 enlarged would repeat each of its pixels in a
# 2 x 2 block.
screen_size=1600x1200
source "$(dirname "$0")/preamble.sh"
make_game_copy "$game_dir"

(cd "$copy" && exec ./cablewright > "$out_dir/fine_stdout.txt" 2> "$out_dir/fine_stderr.txt") &
pid=$!
wait_for_brightness "$out_dir/fine_menu.png" 0.12 30
grep -q "with pictures of scale 2" "$out_dir/fine_stdout.txt" ||
    fail "the game did not say it draws with the pictures of scale 2: $(cat "$out_dir/fine_stdout.txt")"

# The menu's picture (800 x 500 in the middle of the screen) spans the whole width and keeps
# its shape (a glint may stray a pixel beyond its edges). The bottom band, which holds the
# Records and Options links, is left out.
read -r lit_width lit_height lit_left lit_top < <(convert "$out_dir/fine_menu.png" -crop 1600x1100+0+0 +repage \
    -trim -format "%w %h %X %Y" info:)
echo "lit part of the screen: $lit_width x $lit_height at $lit_left $lit_top"
[ "$lit_width" = 1600 ] && [ "$lit_left" = +0 ] || fail "the menu does not span the screen's width"
[ "$lit_height" -ge 998 ] && [ "$lit_height" -le 1004 ] || fail "the menu is $lit_height rows high, not 1000"

# The title, logical (200, 40)-(600, 130): every pixel against its 2 x 2 block's first.
convert "$out_dir/fine_menu.png" -crop 800x180+400+80 +repage "$out_dir/fine_title.png"
convert "$out_dir/fine_title.png" -sample 50% -sample 200% "$out_dir/fine_title_blocks.png"
finer=$(compare -metric AE "$out_dir/fine_title.png" "$out_dir/fine_title_blocks.png" null: 2>&1)
finer=${finer%%.*}
echo "title pixels unlike their block's first: $finer of 144000"
[ "$finer" -gt 20000 ] || fail "the title shows no detail finer than a logical pixel ($finer pixels differ)"

escape_until_exit "$pid" 15
[ "$exit_status" = "0" ] || fail "Escape in the menu gave status $exit_status"
echo "PASS"
