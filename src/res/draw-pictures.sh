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

# ---------------------------------------------------------------- calibration

# Controller orientation: the 24 mountings in the order the toolbox's table
# lists them (roll, then pitch, then yaw over 0, 180, 90, -90 degrees, with
# roll 90 and pitch 180 left out and repeated matrices skipped), each drawn
# from above the tractor, nose up, a little from behind and to the right.
# The controller is a flat box: its label face carries the name and an
# arrow along the controller's forward axis, its plug sticks out of the
# back end, and the caption names where label and plug face. Picture 24
# stands for angles that are no quarter turns. orientations.txt lists the
# table, so a test can hold the program's table to these pictures.
orientation_table() {
  awk 'function rnd(v) { return v < -0.01 ? -1 : (v > 0.01 ? 1 : 0) }
  BEGIN {
    pi = atan2(0, -1); split("0 180 90 -90", a, " "); n = 0
    for (i = 1; i <= 4; i++) for (j = 1; j <= 4; j++) for (k = 1; k <= 4; k++) {
      r = a[i]; p = a[j]; y = a[k]
      if (r == 90 && p == 180) continue
      ps = y * pi / 180; th = p * pi / 180; ph = r * pi / 180
      cy = cos(ps); sy = sin(ps); cp = cos(th); sp = sin(th); cr = cos(ph); sr = sin(ph)
      m = rnd(cp*cy) " " rnd(cp*sy) " " rnd(-sp) " " \
          rnd(cy*sp*sr - sy*cr) " " rnd(cy*cr + sy*sp*sr) " " rnd(cp*sr) " " \
          rnd(cy*sp*cr + sy*sr) " " rnd(sy*sp*cr - cy*sr) " " rnd(cp*cr)
      if (m in seen) continue
      seen[m] = 1
      printf "%d %d %d %d %s\n", n++, y, p, r, m
    }
  }'
}

# The draw arguments of one mounting, one per line; $1 is the table line.
orientation_draw() {
  awk -v line="$1" '
  function axis_name(x, y, h) {
    if (h > 0.5) return "up"; if (h < -0.5) return "down"
    if (x > 0.5) return "front"; if (x < -0.5) return "rear"
    if (y > 0.5) return "right"; return "left"
  }
  # Body point to screen: X, Y (pixels), H (height above the mounting).
  function put(bx, by, bz,   vx, vy, vz) {
    vx = bx*R[1] + by*R[4] + bz*R[7]; vy = bx*R[2] + by*R[5] + bz*R[8]; vz = bx*R[3] + by*R[6] + bz*R[9]
    X = CX + S * (vy - KY * -vz); Y = CY - S * (vx + KX * -vz)
  }
  function pt(bx, by, bz) { put(bx, by, bz); return sprintf("%.1f,%.1f", X, Y) }
  # Whether the outward normal along body axis k (1 x, 2 y, 3 z) with sign s faces the viewer.
  function faces(k, s,   nx, ny, nh) {
    nx = s * R[3*k-2]; ny = s * R[3*k-1]; nh = -s * R[3*k]
    return nx * -KX + ny * KY + nh > 0
  }
  # The four corners of face (k, s) of a box centred at (ox, oy, oz) with half sizes (hx, hy, hz).
  function face(k, s, ox, oy, oz, hx, hy, hz,   c, u, v, p) {
    c[1] = ox; c[2] = oy; c[3] = oz; c[k] += s * (k == 1 ? hx : k == 2 ? hy : hz)
    p = ""
    for (q = 0; q < 4; q++) {
      u = (q == 0 || q == 3) ? 1 : -1; v = (q < 2) ? 1 : -1
      if (k == 1) p = p " " pt(c[1], oy + u*hy, oz + v*hz)
      else if (k == 2) p = p " " pt(ox + u*hx, c[2], oz + v*hz)
      else p = p " " pt(ox + u*hx, oy + v*hy, c[3])
    }
    return p
  }
  function emit(s) { print s }
  function box(ox, oy, oz, hx, hy, hz, colours, hidden,   k, s, idx) {
    split(colours, col, " ")
    for (k = 1; k <= 3; k++) for (s = -1; s <= 1; s += 2) {
      idx = 2*k - (s < 0 ? 1 : 0)
      if (faces(k, s) != hidden) {
        if (hidden) { emit("-fill"); emit("none"); emit("-stroke"); emit("#b0bec5"); emit("-strokewidth"); emit("1")
          emit("-draw"); emit("stroke-dasharray 3 2 polygon" face(k, s, ox, oy, oz, hx, hy, hz)) }
        else { emit("-fill"); emit(col[idx]); emit("-stroke"); emit("#263238"); emit("-strokewidth"); emit("1")
          emit("-draw"); emit("polygon" face(k, s, ox, oy, oz, hx, hy, hz)) }
      }
    }
  }
  BEGIN {
    split(line, f, " "); n = f[1]
    for (i = 1; i <= 9; i++) R[i] = f[4 + i]
    S = 44; KX = 0.45; KY = 0.35; CX = 85; CY = 90
    L = 0.8; W = 0.5; H = 0.2          # the box, half sizes along the body axes
    PL = 0.16; PW = 0.14; PH = 0.11    # the plug, half sizes, out of the back end
    # Face colours in the order -x +x -y +y -z +z: ends, sides, label (top), base.
    boxcol = "#90a4ae #90a4ae #b0bec5 #b0bec5 #fff8e1 #546e7a"
    plugcol = "#37474f #37474f #455a64 #455a64 #37474f #37474f"
    plugx = -L - PL
    backfaces = faces(1, -1)
    # Hidden edges first, dashed; then the plug behind the box, or the box first.
    box(0, 0, 0, L, W, H, boxcol, 1)
    if (!backfaces) box(plugx, 0, 0, PL, PW, PH, plugcol, 0)
    box(0, 0, 0, L, W, H, boxcol, 0)
    if (backfaces) box(plugx, 0, 0, PL, PW, PH, plugcol, 0)
    if (faces(3, -1)) {
      # The label: an arrow along the body x axis, the name beside it.
      emit("-fill"); emit("#2e7d32"); emit("-stroke"); emit("none")
      emit("-draw"); emit("polygon " pt(-0.55, -0.06, -H) " " pt(0.25, -0.06, -H) " " pt(0.25, -0.2, -H) " " \
        pt(0.65, 0, -H) " " pt(0.25, 0.2, -H) " " pt(0.25, 0.06, -H) " " pt(-0.55, 0.06, -H))
      put(0, 0, -H); ox = X; oy = Y
      put(1, 0, -H); ax = (X - ox) / S; ay = (Y - oy) / S
      put(0, 1, -H); bx = (X - ox) / S; by = (Y - oy) / S
      put(-0.62, 0.44, -H)
      emit("-fill"); emit("#263238"); emit("-font"); emit("DejaVu-Sans-Bold"); emit("-pointsize"); emit("9")
      emit("-draw"); emit(sprintf("affine %.3f,%.3f,%.3f,%.3f,%.1f,%.1f text 0,0 %cHALCYRA%c", ax, bx, ay, by, X, Y, 39, 39))
    }
    if (faces(3, 1)) {
      # The base: four mounting holes.
      emit("-fill"); emit("#cfd8dc"); emit("-stroke"); emit("none")
      for (i = -1; i <= 1; i += 2) for (j = -1; j <= 1; j += 2) {
        put(i * 0.62, j * 0.34, H); emit("-draw"); emit(sprintf("circle %.1f,%.1f %.1f,%.1f", X, Y, X + 2.5, Y))
      }
    }
    label = axis_name(-R[7], -R[8], R[9]); plug = axis_name(-R[1], -R[2], R[3])
    emit("-fill"); emit("#263238"); emit("-stroke"); emit("none"); emit("-font"); emit("DejaVu-Sans"); emit("-pointsize"); emit("10")
    emit("-gravity"); emit("south"); emit("-annotate"); emit("+0+4"); emit(sprintf("%d: label %s, plug %s", n + 1, label, plug))
  }'
}

# The tractor seen from above, nose up: the picture every mounting is drawn on.
tractor=(-size 170x190 xc:white
  -fill '#e8f5e9' -stroke none -draw 'rectangle 0,0 169,169'
  -fill '#424242' -draw 'roundrectangle 6,104 28,164 4,4' -draw 'roundrectangle 141,104 163,164 4,4'
  -draw 'roundrectangle 20,14 36,48 3,3' -draw 'roundrectangle 133,14 149,48 3,3'
  -fill '#c8e6c9' -stroke '#81c784' -strokewidth 2 -draw 'roundrectangle 40,8 129,162 10,10'
  -fill '#81c784' -stroke none -draw 'polygon 85,2 77,12 93,12'
  -fill '#2e7d32' -font DejaVu-Sans-Bold -pointsize 9 -draw "text 70,24 'FRONT'"
  -stroke '#bdbdbd' -strokewidth 1 -draw 'line 0,170 169,170')

orientation_table > orientations.txt
while read -r entry; do
  index=$(awk '{ printf "%02d", $1 }' <<<"$entry")
  mapfile -t drawing < <(orientation_draw "$entry")
  convert "${tractor[@]}" "${drawing[@]}" "orientation-$index.png"
done < orientations.txt

# Picture 24: a mounting at angles that are no quarter turns.
convert "${tractor[@]}" \
  -fill '#fff8e1' -stroke '#263238' -strokewidth 1 -draw 'translate 85,92 rotate 30 rectangle -34,-22 34,22' \
  -fill '#c62828' -stroke none -font DejaVu-Sans-Bold -pointsize 30 -gravity center -annotate +0-4 '?' \
  -fill '#263238' -font DejaVu-Sans -pointsize 10 -gravity south -annotate +0+4 'not a quarter-turn mounting' \
  orientation-24.png

# The curved rotate arrows: a quarter turn counterclockwise or clockwise, seen from above.
curved_arrow() {
  # The arc as short segments over the top, clockwise, ending in a head
  # that points down.
  local segments
  segments=$(awk 'BEGIN { for (a = 170; a <= 345; a += 7) { r = a * 3.14159265 / 180;
    x = sprintf("%.1f", 16 + 11 * cos(r)); y = sprintf("%.1f", 18 + 11 * sin(r));
    if (px != "") printf "line %s,%s %s,%s ", px, py, x, y; px = x; py = y } }')
  convert -size 32x32 xc:none -stroke '#1565c0' -strokewidth 3 -draw "stroke-linecap round $segments" \
    -fill '#1565c0' -stroke none -draw 'polygon 21,15 32,15 26.5,24' \
    "$@"
}
curved_arrow -flop rotate-counterclockwise.png
curved_arrow rotate-clockwise.png

# The turn-rate balance: a gauge whose needle leans into the red when the
# left turn (low) or the right turn (high) is the faster, green in between.
turn_rate() {
  local angle=$1 out=$2
  convert -size 72x44 xc:none \
    -fill none -strokewidth 7 \
    -stroke '#e53935' -draw 'arc 8,8 64,64 180,235' -draw 'arc 8,8 64,64 305,360' \
    -stroke '#43a047' -draw 'arc 8,8 64,64 235,305' \
    -stroke '#263238' -strokewidth 3 -draw "translate 36,36 rotate $angle line 0,0 0,-24" \
    -fill '#263238' -stroke none -draw 'circle 36,36 36,40' \
    -font DejaVu-Sans-Bold -pointsize 9 -draw "text 2,43 'L'" -draw "text 64,43 'R'" \
    "$out"
}
turn_rate -62 turn-rate-low.png
turn_rate 0 turn-rate-centred.png
turn_rate 62 turn-rate-high.png
