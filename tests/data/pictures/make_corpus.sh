#!/bin/sh
# Makes the picture corpus of the GDI+ decoder tests: good pictures in the
# less common flavours, and broken ones. Run from this folder; the results
# are committed next to it.
set -e
convert -size 24x16 gradient:red-blue -interlace JPEG -quality 85 progressive.jpg
convert -size 24x16 gradient:red-blue -colorspace CMYK -quality 90 cmyk.jpg
convert -size 24x16 gradient:green-yellow -quality 90 baseline.jpg
convert -size 24x16 gradient:red-blue -define png:color-type=6 good.png
convert -size 24x16 gradient:red-blue -type Palette -colors 16 BMP3:indexed8.bmp
python3 make_broken.py
