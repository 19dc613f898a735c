#!/usr/bin/env bash
# The full résumé saved from its preview to PDF and HTML (ResumeExports test, under Wine), read
# with independent tools and compared with its preview's first page:
#   PDF:  qpdf's structure check without warnings; pdfinfo's page count (the report's) and A4
#         size; pdffonts' non-embedded TrueType Arial faces; pdftotext's accented texts;
#         pdftoppm's render of every page at the preview's size; each caption ends before its
#         value begins, in the word boxes pdftotext reads (pdf_caption_gaps.py).
#   HTML: headless Chromium loads the page, every positioned block sits where its style puts it,
#         every picture loaded and each caption ends before its value begins
#         (export/testing/html_block_check.js); a screenshot of the stacked pages, cut into pages.
# Every page of both renders must show the photo's four quarters, the rules and the lines of
# text where the preview's page does, the PDF's rules dashed and its headings underlined as the
# preview's, the HTML's headings not underlined (compare_renders.py).
# The captions' least gaps are printed in pixels of the preview's page.
# FOLHAVIDA_KEEP_RESUME_EXPORTS names a folder that receives the files and renders.
#   check_resume_exports.sh <wine-run.sh> <app_tests program>
set -euo pipefail
wine_run=$1 program=$2
here=$(cd "$(dirname "$0")" && pwd)
browser=$(command -v chromium || true)
[ -n "$browser" ] || { echo "chromium is not installed (scripts/install-deps.sh installs it)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
FOLHAVIDA_RESUME_EXPORT_DIR="Z:${work//\//\\}" \
  bash "$wine_run" "$program" --gtest_filter=ResumeExports.SavesTheResumeFromItsPreviewAsPDFAndHTML >"$work/log" 2>&1 \
  || { cat "$work/log"; fail "the export run failed"; }
grep -q '^\[  PASSED  \] 1 test' "$work/log" || { cat "$work/log"; fail "the export test did not run"; }
for f in curriculo.pdf curriculo.htm curriculo_foto.jpg preview-1.bmp pages.txt; do
  [ -s "$work/$f" ] || { ls -l "$work" >&2; fail "the export did not write $f"; }
done
pages=$(cat "$work/pages.txt")
# Captions with their values beside them (Nascimento:, Sexo:, Telefone:, Naturalidade:, ...).
least_captions=10
size=$(identify -format '%w,%h' "$work/preview-1.bmp")
width=${size%,*} height=${size#*,}

# --- PDF ---
pdf=$work/curriculo.pdf
out=$(qpdf --check "$pdf" 2>&1) || fail "qpdf --check: $out"
! grep -qi warning <<<"$out" || fail "qpdf warnings: $out"
info=$(pdfinfo "$pdf")
[ "$(awk '/^Pages:/ {print $2}' <<<"$info")" = "$pages" ] || fail "pdfinfo pages: $(grep Pages <<<"$info"), the report has $pages"
grep -q '^Page size: *595 x 842 pts' <<<"$info" || fail "page size: $(grep 'Page size' <<<"$info")"
# name, type, encoding, emb, sub, uni: TrueType, not embedded.
# The plain résumé's faces (titles in italic, the name in bold), each a TrueType font the reader
# finds on its own system.
fonts=$(pdffonts "$pdf" | tail -n +3 | awk '{print $1, $2, $(NF-4)}' | sort)
[ "$fonts" = $'Arial TrueType no\nArial,Bold TrueType no\nArial,Italic TrueType no' ] || fail "pdffonts: $fonts"
text=$(pdftotext -enc UTF-8 "$pdf" -)
for entered in "João Conceição" "01/01/1985" "Masculino" "joao@exemplo.com.br" "Recife" \
               "Experiências Profissionais" "Empresa 1" "Cargo 3" "Obs 5" "01/02/2005" "(81)1111-0004" \
               "2º Grau Completo" "Técnico" "Escola Estadual" "Curso 5" "Nota 1" "Escola 3" \
               "Informações Adicionais" "a combinar" '"Dois."' "página"; do
  grep -qF -- "$entered" <<<"$text" || fail "pdftotext lacks \"$entered\""
done
[ "$(grep -cF 'Empresa ' <<<"$text")" -ge 5 ] || fail "pdftotext: not all five experiences"
pdftoppm -scale-to-x "$width" -scale-to-y "$height" "$pdf" "$work/pdf"
pdftotext -bbox "$pdf" "$work/words.htm"
python3 "$here/pdf_caption_gaps.py" "$work/words.htm" "$width" "$least_captions"

# --- HTML ---
run_browser() {
  timeout 120 "$browser" --headless --no-sandbox --disable-gpu --hide-scrollbars --no-first-run \
    --user-data-dir="$work/profile" --virtual-time-budget=5000 "$@" 2>>"$work/browser.log"
}
# The page with the checking script before its end; the verdict lands on the body as an attribute.
check_js=$(cd "$(dirname "$0")/../../export/testing" && pwd)/html_block_check.js
sed "s|</body>|<script src=\"file://$check_js\"></script></body>|" "$work/curriculo.htm" >"$work/check.htm"
dom=$(run_browser --dump-dom "file://$work/check.htm" || true)
result=$(grep -o 'data-check="[^"]*"' <<<"$dom" || true)
echo "browser: $result"
case $result in
  'data-check="OK '*' 1 pictures"') ;;
  *) cat "$work/browser.log" >&2; fail "the browser check" ;;
esac
gaps=$(grep -o 'data-gaps="[^"]*"' <<<"$dom" | sed 's/^data-gaps="//; s/"$//' || true)
echo "HTML: $gaps"
[ "${gaps%% *}" -ge "$least_captions" ] 2>/dev/null || fail "the browser found ${gaps%% *} captions beside their values, at least $least_captions expected"
run_browser --window-size="$width,$((height * pages))" --screenshot="$work/shot.png" "file://$work/curriculo.htm" >/dev/null
[ -s "$work/shot.png" ] || { cat "$work/browser.log" >&2; fail "no screenshot"; }

# --- the renders against the preview, page by page ---
for ((n = 1; n <= pages; n++)); do
  pdfpage=$(ls "$work"/pdf-*.ppm | sed -n "${n}p")
  [ -n "$pdfpage" ] || fail "pdftoppm gave no page $n"
  convert "$work/preview-$n.bmp" "$work/preview-$n.ppm"
  convert "$work/shot.png" -alpha off -crop "${width}x${height}+0+$(((n - 1) * height))" +repage "$work/html-$n.ppm"
  echo "page $n:"
  python3 "$here/compare_renders.py" "$work/preview-$n.ppm" "PDF=$pdfpage" "HTML=$work/html-$n.ppm"
  if [ -n "${FOLHAVIDA_KEEP_RESUME_EXPORTS:-}" ]; then
    mkdir -p "$FOLHAVIDA_KEEP_RESUME_EXPORTS"
    for kind in preview pdf html; do
      src=$work/$kind-$n.ppm; [ "$kind" = pdf ] && src=$pdfpage
      convert "$src" "$FOLHAVIDA_KEEP_RESUME_EXPORTS/$kind-$n.png"
    done
  fi
done
[ -z "${FOLHAVIDA_KEEP_RESUME_EXPORTS:-}" ] || cp "$work"/curriculo* "$FOLHAVIDA_KEEP_RESUME_EXPORTS/"
echo "The résumé's PDF and HTML pass the readers and match the preview on all $pages pages"
