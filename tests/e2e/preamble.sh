# The start every end-to-end check shares; source it first:
#   source "$(dirname "$0")/preamble.sh"
# The check's arguments are the game folder and a folder for what it leaves behind (then,
# for some, the long-track maker, the frame clock and the board reader). The rest of the check runs inside an
# 800 x 600 Xvfb screen of its own (or one of the size the check sets in screen_size first),
# with SDL's dummy sound unless the check chooses another.
set -u
game_dir=$1
out_dir=$2
board_reader=${5:-}
mkdir -p "$out_dir"
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib.sh"
inside_xvfb "$0" "$@"
export SDL_AUDIODRIVER=dummy
