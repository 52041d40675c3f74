#!/usr/bin/env bash
# Draws the main window's pictures with ImageMagick 6 and writes them next to this script:
#   background.jpg  808 x 580 baseline JPEG, brushed-aluminium front panel laid out under the controls
#   icon.png        64 x 64 RGBA window icon (three faders on an anodised rounded square)
#   button_*.bmp    57 x 17 24-bit button faces (the program draws the caption on top)
# The output is reproducible: the noise has a fixed seed, ImageMagick runs on one thread (the noise
# generator is split per thread) and all metadata (dates, profiles) is stripped.
# Usage: assets/make_pictures.sh
set -euo pipefail

output_folder=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
readonly output_folder
work_folder=$(mktemp -d)
readonly work_folder
trap 'rm -rf "$work_folder"' EXIT

export MAGICK_THREAD_LIMIT=1

readonly width=808
readonly height=580

# Bands of the window: name, top, bottom (inclusive), tint at the top and at the bottom of the panel.
# The 4-pixel separator strips lie between them (y 72, 200, 332, 463, 548; x 800).
readonly bands=(
    "top      0  71 #ffffff #eceef1"
    "music   76 199 #fbfdff #e4edf8"
    "mic    204 331 #fbfefc #e5f3e9"
    "effect 336 462 #fffdf9 #f7eee2"
    "bottom 467 547 #ffffff #eaecef"
)
readonly separators_y=(72 200 332 463 548)
readonly separator_x=800
readonly panel_right=799

# Vertical sliders per band: top of the slider, then left:width of each slider.
readonly music_sliders="113 154:38 232:40 317:40 400:40 485:40 570:40 653:40 738:40"
readonly mic_sliders="244 154:40 225:40 298:40 370:40 441:40 514:40 586:40 662:40 738:40"
# Horizontal level sliders of the top strip (left edges; all 80 x 36 at y 32).
readonly level_slider_lefts=(32 296 560)
# Group plates of the top strip, one per level (left, right).
readonly level_plates=("10 266" "274 530" "538 794")

# Brushed metal: fine horizontal streaks plus a slower drift, squeezed into a light grey range.
make_brushed_base() {
    local streaks="$work_folder/streaks.png" drift="$work_folder/drift.png"
    convert -size $((width + 120))x${height} xc:gray50 -seed 4711 -attenuate 1.0 +noise Gaussian \
        -colorspace Gray -motion-blur 0x14+0 -crop ${width}x${height}+60+0 +repage -auto-level \
        "$streaks"
    convert -size $((width + 400))x${height} xc:gray50 -seed 815 -attenuate 1.0 +noise Gaussian \
        -colorspace Gray -motion-blur 0x120+0 -crop ${width}x${height}+200+0 +repage -auto-level \
        "$drift"
    convert "$streaks" "$drift" -compose Blend -define compose:args=55,45 -composite \
        -auto-level +level 88%,98% -colorspace sRGB "$work_folder/base.png"
}

# One tinted gradient per band, multiplied onto the metal so the streaks show through.
tint_bands() {
    local canvas="$work_folder/base.png" band name top bottom tint_top tint_bottom
    for band in "${bands[@]}"; do
        read -r name top bottom tint_top tint_bottom <<<"$band"
        convert -size $((panel_right + 1))x$((bottom - top + 1)) "gradient:$tint_top-$tint_bottom" \
            "$work_folder/tint_$name.png"
        convert "$canvas" "$work_folder/tint_$name.png" -geometry +0+"$top" -compose Multiply \
            -composite "$work_folder/tinted.png"
        canvas="$work_folder/tinted.png"
    done
}

# Crisp straight lines (bevels, separator grooves) drawn without antialiasing.
# Arguments: left top right bottom; prints MVG for a raised edge.
raised_edge() {
    local left=$1 top=$2 right=$3 bottom=$4
    printf "fill rgba(255,255,255,0.90) rectangle %d,%d %d,%d rectangle %d,%d %d,%d " \
        "$left" "$top" "$right" "$top" "$left" "$top" "$left" "$bottom"
    printf "fill rgba(255,255,255,0.45) rectangle %d,%d %d,%d rectangle %d,%d %d,%d " \
        $((left + 1)) $((top + 1)) $((right - 1)) $((top + 1)) $((left + 1)) $((top + 1)) $((left + 1)) $((bottom - 1))
    printf "fill rgba(60,66,74,0.45) rectangle %d,%d %d,%d rectangle %d,%d %d,%d " \
        "$left" "$bottom" "$right" "$bottom" "$right" "$top" "$right" "$bottom"
    printf "fill rgba(60,66,74,0.18) rectangle %d,%d %d,%d rectangle %d,%d %d,%d " \
        $((left + 1)) $((bottom - 1)) $((right - 1)) $((bottom - 1)) $((right - 1)) $((top + 1)) $((right - 1)) $((bottom - 1))
}

# The same for a sunken (recessed) area: dark above and left, light below and right.
sunken_edge() {
    local left=$1 top=$2 right=$3 bottom=$4
    printf "fill rgba(60,66,74,0.30) rectangle %d,%d %d,%d rectangle %d,%d %d,%d " \
        "$left" "$top" "$right" "$top" "$left" "$top" "$left" "$bottom"
    printf "fill rgba(255,255,255,0.85) rectangle %d,%d %d,%d rectangle %d,%d %d,%d " \
        "$left" "$bottom" "$right" "$bottom" "$right" "$top" "$right" "$bottom"
}

draw_panel_edges() {
    local draw="" band name top bottom tint_top tint_bottom y
    for band in "${bands[@]}"; do
        read -r name top bottom tint_top tint_bottom <<<"$band"
        draw+=$(raised_edge 1 $((top + 1)) $((panel_right - 2)) $((bottom - 1)))
    done
    for y in "${separators_y[@]}"; do
        draw+="fill rgba(70,76,84,0.55) rectangle 0,$y $panel_right,$y "
        draw+="fill rgba(70,76,84,0.30) rectangle 0,$((y + 1)) $panel_right,$((y + 2)) "
        draw+="fill rgba(255,255,255,0.80) rectangle 0,$((y + 3)) $panel_right,$((y + 3)) "
    done
    draw+="fill rgba(70,76,84,0.55) rectangle $separator_x,0 $separator_x,551 "
    draw+="fill rgba(70,76,84,0.30) rectangle $((separator_x + 1)),0 $((separator_x + 2)),551 "
    draw+="fill rgba(255,255,255,0.80) rectangle $((separator_x + 3)),0 $((separator_x + 3)),551 "
    local plate left right
    for plate in "${level_plates[@]}"; do
        read -r left right <<<"$plate"
        draw+="fill rgba(40,48,60,0.035) rectangle $left,19 $right,67 "
        draw+=$(sunken_edge "$left" 19 "$right" 67)
    done
    convert "$1" +antialias -draw "$draw" "$2"
}

# Recessed columns behind the vertical sliders with a groove along the slider travel. The effect band has
# none: its sliders move when the effect type changes.
# Arguments: slider list, top of the column plate, bottom of the column plate.
slider_columns() {
    local sliders plate_top=$2 plate_bottom=$3
    read -r -a sliders <<<"$1"
    local slider_top=${sliders[0]} entry left slider_width centre groove_top groove_bottom draw=""
    groove_top=$((slider_top + 6))
    groove_bottom=$((slider_top + 84 < plate_bottom - 4 ? slider_top + 84 : plate_bottom - 4))
    for entry in "${sliders[@]:1}"; do
        left=${entry%%:*}
        slider_width=${entry##*:}
        centre=$((left + slider_width / 2))
        draw+="fill rgba(40,48,60,0.045) stroke rgba(60,66,74,0.22) stroke-width 1 "
        draw+="roundrectangle $((left - 2)).5,$plate_top.5 $((left + slider_width + 1)).5,$plate_bottom.5 4,4 "
        draw+="stroke rgba(255,255,255,0.75) line $((left - 1)).5,$((plate_bottom + 1)).5 $((left + slider_width)).5,$((plate_bottom + 1)).5 "
        draw+="stroke none fill rgba(50,56,64,0.30) "
        draw+="roundrectangle $((centre - 2)),$groove_top $((centre + 2)),$groove_bottom 2,2 "
        draw+="fill rgba(255,255,255,0.70) rectangle $((centre + 2)),$((groove_top + 1)) $((centre + 3)),$((groove_bottom - 1)) "
    done
    printf "%s" "$draw"
}

level_grooves() {
    local left draw=""
    for left in "${level_slider_lefts[@]}"; do
        draw+="fill rgba(50,56,64,0.30) roundrectangle $((left + 6)),48 $((left + 74)),52 2,2 "
        draw+="fill rgba(255,255,255,0.70) rectangle $((left + 7)),53 $((left + 73)),54 "
    done
    printf "%s" "$draw"
}

# Perforated speaker grille in the empty left end of the bottom strip.
grille() {
    local draw="" row column x y offset
    for row in $(seq 0 9); do
        offset=$(( (row % 2) * 3 ))
        for column in $(seq 0 13); do
            x=$((26 + column * 6 + offset))
            y=$((480 + row * 6))
            draw+="fill rgba(255,255,255,0.85) circle $x.5,$((y + 1)).5 $x.5,$((y + 3)).4 "
            draw+="fill rgba(36,40,46,0.65) circle $x.5,$y.5 $x.5,$((y + 2)).4 "
        done
    done
    draw+="fill none stroke rgba(60,66,74,0.28) stroke-width 1 roundrectangle 20.5,474.5 111.5,541.5 5,5 "
    draw+="stroke rgba(255,255,255,0.8) line 22.5,542.5 109.5,542.5 "
    printf "%s" "$draw"
}

draw_columns_and_grooves() {
    local draw
    draw=$(slider_columns "$music_sliders" 93 195)
    draw+=$(slider_columns "$mic_sliders" 221 328)
    draw+=$(level_grooves)
    draw+=$(grille)
    convert "$1" -draw "$draw" "$2"
}

# A cross-head screw, drawn at four times its size and scaled down for smooth edges.
make_screw() {
    convert -size 56x56 xc:none \
        -fill 'rgba(0,0,0,0.35)' -draw "circle 29,30 29,6" -blur 0x2 \
        \( -size 48x48 radial-gradient:'#ffffff'-'#7a8088' -roll -8-8 \
           \( -size 48x48 xc:black -fill white -draw "circle 23.5,23.5 23.5,0.5" \) \
           -alpha off -compose CopyOpacity -composite \) \
        -geometry +4+4 -compose Over -composite \
        -fill none -stroke 'rgba(80,84,90,0.95)' -strokewidth 2.5 -draw "circle 27.5,27.5 27.5,5" \
        -stroke 'rgba(255,255,255,0.8)' -strokewidth 4 -draw "line 17,30 39,30" -draw "line 30,17 30,39" \
        -stroke 'rgba(50,55,62,0.95)' -strokewidth 4 -draw "line 16,28 40,28" -draw "line 28,16 28,40" \
        -resize 14x14 "$work_folder/screw.png"
}

place_screws() {
    local canvas=$1 position x y arguments=()
    for position in "3 3" "263 3" "527 3" "783 3" "3 470" "3 533" "783 470" "783 533"; do
        read -r x y <<<"$position"
        arguments+=("$work_folder/screw.png" -geometry "+$x+$y" -composite)
    done
    convert "$canvas" -compose Over "${arguments[@]}" "$2"
}

make_background() {
    make_brushed_base
    tint_bands
    draw_panel_edges "$work_folder/tinted.png" "$work_folder/edges.png"
    draw_columns_and_grooves "$work_folder/edges.png" "$work_folder/columns.png"
    make_screw
    place_screws "$work_folder/columns.png" "$work_folder/panel.png"
    convert "$work_folder/panel.png" -strip -alpha off -colorspace sRGB -type TrueColor \
        -interlace none -sampling-factor 2x2 -quality 90 "$output_folder/background.jpg"
}

# Three faders with their knobs on a dark blue anodised rounded square.
make_icon() {
    local draw="" x y knob
    for x in 18 32 46; do
        draw+="fill rgba(0,0,0,0.55) roundrectangle $((x - 3)),12 $((x + 3)),52 3,3 "
        draw+="fill rgba(255,255,255,0.25) rectangle $((x + 2)),14 $((x + 3)),50 "
    done
    for knob in "18 36" "32 20" "46 30"; do
        read -r x y <<<"$knob"
        draw+="fill rgba(0,0,0,0.35) roundrectangle $((x - 9)),$((y - 3)) $((x + 10)),$((y + 8)) 3,3 "
        draw+="fill #e9edf2 stroke #7d8796 stroke-width 1 roundrectangle $((x - 9)).5,$((y - 5)).5 $((x + 8)).5,$((y + 5)).5 3,3 "
        draw+="stroke #ff8a1e stroke-width 2 line $((x - 7)),$y.5 $((x + 7)),$y.5 stroke none "
    done
    convert -size 64x64 xc:none \
        \( -size 62x62 gradient:'#4f86c6'-'#173d6b' \
           \( -size 62x62 xc:black -fill white -draw "roundrectangle 0,0 61,61 12,12" \) \
           -alpha off -compose CopyOpacity -composite \) \
        -geometry +1+1 -compose Over -composite \
        -fill none -stroke 'rgba(255,255,255,0.45)' -strokewidth 1 -draw "roundrectangle 2.5,2.5 60.5,60.5 11,11" \
        -stroke 'rgba(8,24,48,0.9)' -draw "roundrectangle 1.5,1.5 61.5,61.5 12,12" \
        -stroke none -draw "$draw" \
        -strip -define png:exclude-chunks=date,time -define png:color-type=6 \
        PNG32:"$output_folder/icon.png"
}

# A light bevelled face that fades to a pale tint of its accent, with a thin accent line near the
# bottom edge, below the caption. Arguments: file name, accent colour, pale tint.
make_button() {
    convert -size 57x17 gradient:"#fdfdfe-$3" \
        +antialias \
        -fill '#ffffff' -draw "rectangle 0,0 56,0 rectangle 0,0 0,16" \
        -fill '#8c939c' -draw "rectangle 0,16 56,16 rectangle 56,0 56,16" \
        -fill '#b9bfc7' -draw "rectangle 1,15 55,15 rectangle 55,1 55,15" \
        -fill "$2" -draw "rectangle 4,14 52,14" \
        -strip -alpha off -type TrueColor BMP3:"$output_folder/$1"
}

make_background
make_icon
make_button button_reset.bmp '#e07a3c' '#f1dccf'
make_button button_open.bmp '#3c86d8' '#d4e2f2'
make_button button_save.bmp '#3fae5a' '#d5ebdb'
make_button button_store.bmp '#9a5cc8' '#e3d7ee'
