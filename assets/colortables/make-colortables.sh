#!/bin/sh
# SPDX-License-Identifier: MIT
# Draws the ten-colour table pictures, one per language, from the ring's gem colours.
# Run once with ImageMagick; the JPEG files are committed beside this script.
set -eu
cd "$(dirname "$0")"
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
gems="BLU SAPPHIRE|#E2C6FF|#C58AFF
CAT'S EYES|#FF3535|#BB0000
DIAMOND|#D0CDE4|#A39ACF
EMERALD|#CCFFCC|#00FF00
HESSONITE|#CCFFFF|#00FFFF
RED CORAL|#FFFF99|#FFFF00
YELLOW SAPPHIRE|#3366FF|#0000FF
ALBA CELESTA|#FF9900|#FF0000
AURUM 10 - RUBY|#FF0000|#FF0000
AURUM ALBA - PEARL|#FF9900|#FF6600"
for pair in "ITA|Tabella Colori" "ENG|Color Table" "FRA|Tableau des couleurs" \
            "SPA|Tabla de colores" "OLA|Kleurentafel"; do
    code=${pair%%|*}
    heading=${pair#*|}
    set -- -size 800x760 xc:'#CEDDCE' -fill '#B6CBB6' -draw 'rectangle 0,0 800,80' \
        -font "$font" -fill '#2E5E2E' -pointsize 36 -gravity north -annotate +0+20 "$heading" \
        -gravity northwest -pointsize 22
    y=100
    echo "$gems" | {
        while IFS='|' read -r name from to; do
            printf '%s\n' "$name|$from|$to|$y"
            y=$((y + 64))
        done
    } > /tmp/colortable.$$
    while IFS='|' read -r name from to top; do
        bottom=$((top + 52))
        set -- "$@" \( -size 160x52 gradient:"$from-$to" \) -geometry +40+$top -composite \
            -fill none -stroke '#808080' -draw "rectangle 40,$top 200,$bottom" -stroke none \
            -fill '#202020' -annotate +230+$((top + 12)) "$name"
    done < /tmp/colortable.$$
    rm -f /tmp/colortable.$$
    convert "$@" -quality 90 "Tabella_ZelvoColor_$code.jpg"
done
