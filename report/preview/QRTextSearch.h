// Text search in a page: the text records of the page's enhanced metafile are looked through
// for a text. A page may come from a loaded file, so every record is checked against its size.
#pragma once

#include <cstddef>

#include "framework/graphics/Metafile.h"
#include "framework/rtl/System.h"

// Whether one text record of the metafile bytes holds the text (a text split over two records
// is not found). Without matchCase both sides are compared upper-cased by the locale's rules.
// The bytes are walked record by record; a record whose size or text lies outside the buffer
// ends the walk. A search started while another runs is refused (false).
bool FindTextInMetafileBytes(const String& text, const Byte* bytes, std::size_t size, bool matchCase);
bool FindTextInMetafile(const String& text, const TMetafile* metafile, bool matchCase);
