#!/usr/bin/env bash
# Checks the PDF files the writer's tests produce with independent readers: qpdf's structure
# check, pdfinfo's page count and size, pdffonts' font list, pdftotext's text (accented
# Portuguese must come back exactly) and pdftoppm's rendering of a picture's colours.
#   check_pdf_files.sh <export_coders_tests program>
set -euo pipefail
tests=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
FOLHAVIDA_PDF_SAMPLE=$dir/one.pdf FOLHAVIDA_PDF_SAMPLE2=$dir/two.pdf \
  "$tests" --gtest_filter='PDFDocumentWriter.*' >"$dir/log" || { cat "$dir/log"; exit 1; }

fail() { echo "FAIL: $*"; exit 1; }
# The readers (not the program under test) find the lettering models' faces where Wine
# does: scripts/pdf-reader-fonts.conf.
export FONTCONFIG_FILE=$(cd "$(dirname "$0")/../../scripts" && pwd)/pdf-reader-fonts.conf
for f in one two; do
  out=$(qpdf --check "$dir/$f.pdf" 2>&1) || fail "qpdf --check $f.pdf: $out"
  ! grep -qi warning <<<"$out" || fail "qpdf warnings for $f.pdf: $out"
done
[ "$(pdfinfo "$dir/two.pdf" | awk '/^Pages:/ {print $2}')" = 2 ] || fail "two.pdf page count"
pdfinfo "$dir/two.pdf" | grep -q '^Page size: *595 x 842 pts' || fail "two.pdf page size"
pdffonts "$dir/two.pdf" | grep -q '^Arial  *TrueType' || fail "Arial missing"
pdffonts "$dir/two.pdf" | grep -q '^Arial,Bold  *TrueType' || fail "Arial,Bold missing"
text=$(pdftotext -enc UTF-8 "$dir/two.pdf" - | tr -d '\f' | sed '/^$/d')
expected=$'Experiência profissional\nFormação (2010) \\ ação\nPágina dois'
[ "$text" = "$expected" ] || fail "text: $text"
[ "$(pdftotext -enc UTF-8 "$dir/one.pdf" - | tr -d '\f' | sed '/^$/d')" = "Olá" ] || fail "one.pdf text"

# The 2 x 2 picture of page 2 covers points 100-200 across and 180-280 down: red, green over
# blue, white.
pdftoppm -r 72 -f 2 -l 2 "$dir/two.pdf" "$dir/page"
python3 "$(dirname "$0")/ppm_colours.py" "$dir"/page*.ppm \
  125,205=255,0,0 175,205=0,255,0 125,255=0,0,255 175,255=255,255,255
echo "PDF files pass qpdf, pdfinfo, pdffonts, pdftotext and pdftoppm"
