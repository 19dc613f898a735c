// Standard glyph names of the characters that single-byte Windows code pages hold, for the
// /Differences of a PDF font encoding (the table is generated: tools/make_pdf_glyph_names.py).
#pragma once

// The name, or nullptr when the value has none in the table.
const char* StandardGlyphName(char16_t value);
