#!/usr/bin/env bash
# A click on a value box, a caption, a drawing or the bare page surface
# does nothing: the hidden Cancel button keeps the focus, so Enter still
# ends the viewer at once.
. "$(dirname "$0")/lib.sh"

# Client-area pixels below the menu bar: name x y.
targets=(
    "value-box 354 72"
    "caption 490 46"
    "drawing 40 60"
    "page-surface 250 335"
)
for target in "${targets[@]}"; do
    read -r name x y <<<"$target"
    note "click on the $name, then Enter"
    start_viewer
    dismiss_box
    activate_main
    height=$(xdo getwindowgeometry "$main_win" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p')
    menu=$((height - 374))
    # The server hands the click to the viewer before the key.
    xdo mousemove --window "$main_win" "$x" "$((y + menu))" click 1
    xdo key Return
    expect_exit 5
done
echo "PASS"
