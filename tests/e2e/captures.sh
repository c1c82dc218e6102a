# Screenshots compared with the frames of whirlbox-tool render, for the end-to-end tests of the
# Windows saver and of the X11 hack. Sourced; needs $work, $src and the caller's pass and fail.

shot() { xwd -root -silent | convert xwd:- "$1"; }

# Three screenshots at random moments (each after <pause> + 0..1 s), each equal to one of the rendered
# frames in the region of the frames' size at <x,y>; a capture torn by the copy to the window is retaken.
# FRAME_BITS=R,G,B compares only the top bits of each channel (a 16-bit screen: 5,6,5).
match_captures() {  # <what> <frame folder> <x,y> [pause]
  local moment tries number
  for moment in 1 2 3; do
    sleep "$(awk -v s=$RANDOM -v pause="${4:-0}" 'BEGIN { print pause + (s % 100) / 100 }')"
    number=""
    for tries in 1 2 3; do
      shot "$work/shot.png"
      number=$(python3 "$src/tests/e2e/frames.py" match "$work/shot.png" "$2" "$3" ${FRAME_BITS:+--bits "$FRAME_BITS"}) &&
        break
      number=""
    done
    if [ -n "$number" ]; then pass "$1 capture $moment equals frame $number"; else
      cp "$work/shot.png" "${E2E_KEEP:-/tmp}/whirlbox-unmatched-$1-$moment.png"
      fail "$1 capture $moment at $3 equals no rendered frame"
    fi
  done
}
