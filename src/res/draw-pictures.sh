#!/usr/bin/env bash
# Draws the program's pictures with ImageMagick. The PNGs are kept in the
# repository; run this again only to change them.
set -euo pipefail
cd "$(dirname "$0")"

# Application icon: a steering wheel on a green tile, drawn on a 64-point
# grid and scaled to each size wanted (the program's own and the desktop's).
draw_icon() {
  local size=$1 out=$2
  local scale
  scale=$(awk "BEGIN { print $size / 64 }")
  convert -size "${size}x${size}" xc:none -affine "$scale,0,0,$scale,0,0" \
    -fill '#2e7d32' -stroke '#1b5e20' -strokewidth 2 -draw 'roundrectangle 2,2 61,61 12,12' \
    -fill none -stroke white -strokewidth 5 -draw 'circle 32,32 32,12' \
    -strokewidth 4 -draw 'line 32,32 32,51' -draw 'line 32,32 14,26' -draw 'line 32,32 50,26' \
    -fill white -stroke none -draw 'circle 32,32 32,26' \
    -fill '#2e7d32' -draw 'circle 32,32 32,29' \
    "$out"
}
draw_icon 64 halcyra.png
for size in 48 256; do
  mkdir -p "../../packaging/linux/icons/${size}x${size}"
  draw_icon "$size" "../../packaging/linux/icons/${size}x${size}/com.veltrane.HalcyraToolbox.png"
done

# New installation wizard: a checklist with a star.
convert -size 64x64 xc:none \
  -fill '#fafafa' -stroke '#455a64' -strokewidth 2 -draw 'roundrectangle 10,6 50,58 4,4' \
  -fill '#78909c' -stroke none -draw 'rectangle 22,2 38,10' \
  -stroke '#2e7d32' -strokewidth 3 -fill none \
  -draw 'polyline 15,21 18,25 24,17' -draw 'polyline 15,34 18,38 24,30' \
  -stroke '#90a4ae' -strokewidth 2 \
  -draw 'line 28,21 45,21' -draw 'line 28,34 45,34' -draw 'line 28,47 40,47' \
  -stroke '#455a64' -strokewidth 1 -fill none -draw 'rectangle 15,43 22,50' \
  -fill '#fbc02d' -stroke '#f57f17' -strokewidth 1 \
  -draw 'polygon 50,36 53,44 62,44 55,49 58,58 50,52 42,58 45,49 38,44 47,44' \
  wizard.png

# Edit setup / diagnostics: a gear beside a gauge.
convert -size 64x64 xc:none \
  -fill '#607d8b' -stroke '#37474f' -strokewidth 1 \
  -draw 'rectangle 19,4 27,12' -draw 'rectangle 19,36 27,44' -draw 'rectangle 3,20 11,28' -draw 'rectangle 35,20 43,28' \
  -draw 'translate 23,24 rotate 45 rectangle -4,-20 4,-12' -draw 'translate 23,24 rotate 45 rectangle -4,12 4,20' \
  -draw 'translate 23,24 rotate -45 rectangle -4,-20 4,-12' -draw 'translate 23,24 rotate -45 rectangle -4,12 4,20' \
  -draw 'circle 23,24 23,9' \
  -fill '#eceff1' -draw 'circle 23,24 23,18' \
  -fill '#fafafa' -stroke '#1565c0' -strokewidth 3 -draw 'circle 44,44 44,25' \
  -stroke '#e53935' -strokewidth 3 -draw 'line 44,44 55,34' \
  -fill '#1565c0' -stroke none -draw 'circle 44,44 44,41' \
  -stroke '#1565c0' -strokewidth 2 -draw 'line 31,44 34,44' -draw 'line 44,31 44,34' -draw 'line 57,44 54,44' \
  setup.png

# Save / restore setup: a disk between two arrows.
convert -size 64x64 xc:none \
  -fill '#1565c0' -stroke '#0d47a1' -strokewidth 2 -draw 'roundrectangle 14,14 50,50 3,3' \
  -fill '#e3f2fd' -stroke none -draw 'rectangle 21,16 43,29' \
  -fill '#0d47a1' -draw 'rectangle 36,18 40,27' \
  -fill '#fafafa' -draw 'rectangle 20,35 44,48' \
  -stroke '#90a4ae' -strokewidth 1 -draw 'line 23,39 41,39' -draw 'line 23,43 41,43' \
  -fill '#2e7d32' -stroke none -draw 'polygon 2,10 10,2 10,7 20,7 20,13 10,13 10,18' \
  -fill '#ef6c00' -draw 'polygon 62,54 54,46 54,51 44,51 44,57 54,57 54,62' \
  saverestore.png

# The setup file as a disk: its case, shutter and label.
disk=(-fill '#1565c0' -stroke '#0d47a1' -strokewidth 2 -draw 'roundrectangle 10,22 54,62 3,3'
  -fill '#e3f2fd' -stroke none -draw 'rectangle 18,24 44,36'
  -fill '#0d47a1' -draw 'rectangle 37,26 41,34'
  -fill '#fafafa' -draw 'rectangle 16,42 48,60'
  -stroke '#90a4ae' -strokewidth 1 -draw 'line 19,47 45,47' -draw 'line 19,52 45,52' -draw 'line 19,57 39,57')

# Save to file (SAVE_TO_FILE): an arrow down into the disk.
convert -size 64x64 xc:none "${disk[@]}" \
  -fill '#2e7d32' -stroke '#1b5e20' -strokewidth 1 -draw 'polygon 27,1 37,1 37,12 45,12 32,26 19,12 27,12' \
  savetofile.png

# Restore from file (RESTORE_FROM_FILE): an arrow up out of the disk.
convert -size 64x64 xc:none "${disk[@]}" \
  -fill '#ef6c00' -stroke '#e65100' -strokewidth 1 -draw 'polygon 32,1 45,15 37,15 37,28 27,28 27,15 19,15' \
  restorefromfile.png

# Splash: a field under the sky, guidance lines, a tractor, the name.
convert -size 360x200 gradient:'#90caf9-#e3f2fd' \
  \( -size 360x90 gradient:'#7cb342-#33691e' \) -geometry +0+110 -composite \
  -stroke '#c5e1a5' -strokewidth 2 \
  -draw 'line 180,110 20,200' -draw 'line 180,110 110,200' -draw 'line 180,110 180,200' \
  -draw 'line 180,110 250,200' -draw 'line 180,110 340,200' \
  -stroke none -fill '#c62828' -draw 'rectangle 236,116 292,140' -draw 'rectangle 262,96 288,118' \
  -fill '#bbdefb' -draw 'rectangle 266,100 284,114' \
  -fill '#424242' -draw 'rectangle 230,126 240,132' -draw 'circle 279,148 279,128' -draw 'circle 244,152 244,140' \
  -fill '#9e9e9e' -draw 'circle 279,148 279,138' -draw 'circle 244,152 244,146' \
  -fill '#0d47a1' -font DejaVu-Sans-Bold -pointsize 26 -annotate +18+48 'Halcyra Toolbox II' \
  -fill '#1a237e' -font DejaVu-Sans -pointsize 12 -annotate +20+70 'Autosteering setup and diagnostics' \
  -fill white -font DejaVu-Sans -pointsize 11 -annotate +20+190 'Starting...' \
  -bordercolor '#37474f' -border 1 \
  splash.png
