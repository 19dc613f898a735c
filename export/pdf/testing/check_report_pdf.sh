#!/usr/bin/env bash
# Checks the PDF file a report run exports with independent readers: qpdf's structure check
# without warnings, pdfinfo's page count and A4 size, pdffonts' fonts, pdftotext's accented
# Portuguese and pdftoppm's rendering of the photo's colours and the shape's fill; the faces the
# readers draw the lettering models with.
#   check_export_pdf.sh <emulator> <export_pdf_tests program>
set -euo pipefail
emulator=$1
tests=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
FOLHAVIDA_PDF_REPORT="Z:${dir//\//\\}\\report.pdf" FOLHAVIDA_PDF_LETTERING="Z:${dir//\//\\}\\lettering.pdf" \
  "$emulator" "$tests" --gtest_filter='QRPDFFilter.FileWrittenWholeOrNotAtAll:QRPDFFilter.LetteringFacesAreDescribedAsTheyLook' \
  >"$dir/log" 2>&1 || { cat "$dir/log"; exit 1; }
pdf=$dir/report.pdf
fail() { echo "FAIL: $*"; exit 1; }
# The readers (not the program under test) find the lettering models' faces where Wine
# does: scripts/pdf-reader-fonts.conf.
export FONTCONFIG_FILE=$(cd "$(dirname "$0")/../../../scripts" && pwd)/pdf-reader-fonts.conf
[ -f "$pdf" ] || { cat "$dir/log"; fail "no file exported"; }
out=$(qpdf --check "$pdf" 2>&1) || fail "qpdf --check: $out"
! grep -qi warning <<<"$out" || fail "qpdf warnings: $out"
[ "$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')" = 1 ] || fail "page count"
pdfinfo "$pdf" | grep -q '^Page size: *595 x 842 pts' || fail "page size: $(pdfinfo "$pdf" | grep 'Page size')"
pdffonts "$pdf" | grep -q '^Arial,Bold  *TrueType' || fail "Arial,Bold missing"
pdffonts "$pdf" | grep -q '^Arial  *TrueType' || fail "Arial missing"
text=$(pdftotext -enc UTF-8 "$pdf" - | tr -d '\f' | sed '/^$/d')
expected=$'Experiência profissional\nFormação (2010) \\ ação\nFormação (2010) \\ ação'
[ "$text" = "$expected" ] || fail "text: $text"

# At 72 dpi one pixel is one point. Margins 10 mm (28.3 pt); the title band starts there. The
# photo, 30 mm square at 100 mm across and 10 mm down in the band: red, green over blue, white.
# The shape, 50 x 10 mm at 10 mm down: yellow inside.
pdftoppm -r 72 "$pdf" "$dir/page"
python3 "$(dirname "$0")/../../testing/ppm_colours.py" "$dir"/page*.ppm \
  333,78=255,0,0 375,78=0,255,0 333,120=0,0,255 375,120=255,255,255 98,71=255,255,0
# The lettering models' faces are not embedded; the readers must draw them with the faces Wine
# measured them with (a chancery and a brush face), not a sans squeezed to their widths.
[ -f "$dir/lettering.pdf" ] || { cat "$dir/log"; fail "no lettering file exported"; }
subst=$(pdffonts -subst "$dir/lettering.pdf")
grep -q '^MonotypeCorsiva .*Z003' <<<"$subst" || fail "Monotype Corsiva not drawn with Z003: $subst"
grep -q '^BrushScriptMT .*KaushanScript' <<<"$subst" || fail "Brush Script MT not drawn with Kaushan Script: $subst"

echo "The exported report passes qpdf, pdfinfo, pdffonts, pdftotext and pdftoppm"
