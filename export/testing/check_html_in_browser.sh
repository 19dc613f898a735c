#!/usr/bin/env bash
# Opens an exported résumé in a real browser: the test program (under Wine) exports a report to
# HTML and draws its first page as the preview does; headless Chromium then loads the page and
# a script in it checks that every positioned block sits where its style puts it, that every
# picture loaded and that the caption ends before its value begins. A screenshot is compared
# with the preview where the page has colour (the box and the photo): both must show the same
# colour at the same place.
# Usage: check_html_in_browser.sh <wine-run.sh> <export_filters_tests.exe>
set -euo pipefail
wine_run=$1 program=$2
browser=$(command -v chromium || true)
[ -n "$browser" ] || { echo "chromium is not installed (scripts/install-deps.sh installs it)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
FOLHAVIDA_HTML_CHECK_DIR="Z:${work//\//\\}" \
  bash "$wine_run" "$program" --gtest_filter=HTMLInBrowser.WritesTheResumeAndItsPreview
for f in curriculo.htm curriculo_foto.jpg preview.bmp; do
  [ -s "$work/$f" ] || { echo "the export did not write $f" >&2; ls -l "$work" >&2; exit 1; }
done

run_browser() {
  timeout 120 "$browser" --headless --no-sandbox --disable-gpu --hide-scrollbars --no-first-run \
    --user-data-dir="$work/profile" --virtual-time-budget=5000 "$@" 2>>"$work/browser.log"
}

# The page with the checking script before its end; the verdict lands on the body as an attribute.
check_js=$(cd "$(dirname "$0")" && pwd)/html_block_check.js
sed "s|</body>|<script src=\"file://$check_js\"></script></body>|" "$work/curriculo.htm" >"$work/check.htm"
dom=$(run_browser --dump-dom "file://$work/check.htm" || true)
result=$(grep -o 'data-check="[^"]*"' <<<"$dom" || true)
echo "browser: $result"
echo "browser: $(grep -o 'data-gaps="[^"]*"' <<<"$dom" || echo "no caption with its value")"
case $result in
  'data-check="OK '*' 1 pictures"') ;;
  *) echo "the browser check failed" >&2; cat "$work/browser.log" >&2; exit 1 ;;
esac
grep -q 'data-gaps="1 captions' <<<"$dom" || { echo "the caption beside its value was not found" >&2; exit 1; }

size=$(identify -format '%w,%h' "$work/preview.bmp")
run_browser --window-size="$size" --screenshot="$work/shot.png" "file://$work/curriculo.htm" >/dev/null
[ -s "$work/shot.png" ] || { echo "no screenshot" >&2; cat "$work/browser.log" >&2; exit 1; }
[ -n "${FOLHAVIDA_KEEP_BROWSER_SHOT:-}" ] && cp "$work/shot.png" "$work/preview.bmp" "$FOLHAVIDA_KEEP_BROWSER_SHOT/"

# The middle of the teal box and of the photo, from their blocks in the page.
centre() { # <text in the block's line> -> "x,y"
  python3 - "$work/curriculo.htm" "$1" <<'PY'
import re, sys
line = next(l for l in open(sys.argv[1], encoding="utf-8") if sys.argv[2] in l)
left, top = map(int, re.search(r"left:(\d+)px;top:(\d+)px", line).groups())
size = re.search(r"height:(\d+)px;width:(\d+)px", line)
if size:
    h, w = map(int, size.groups())
else:
    w, h = map(int, re.search(r"width=(\d+) height=(\d+)", line).groups())
print(f"{left + w // 2},{top + h // 2}")
PY
}
colour() { convert "$1" -format "%[hex:p{$2}]" info: | cut -c1-6; }
near() { # <RRGGBB> <RRGGBB>: each channel within 8 (the JPEG's rounding)
  local a=$1 b=$2 i d
  for i in 0 2 4; do
    d=$(( 16#${a:i:2} - 16#${b:i:2} ))
    [ "${d#-}" -le 8 ] || return 1
  done
}
status=0
for spot in "background-color: #008080:008080" "<img:FF0000"; do
  pattern=${spot%:*} expected=${spot##*:}
  at=$(centre "$pattern")
  shot=$(colour "$work/shot.png" "$at") drawn=$(colour "$work/preview.bmp" "$at")
  echo "at $at: browser $shot, preview $drawn, expected $expected"
  near "$shot" "$expected" && near "$drawn" "$expected" || status=1
done
exit $status
