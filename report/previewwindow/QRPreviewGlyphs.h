// The preview window's tool-bar pictures, drawn at start-up into an image list (20 x 20, one per
// button) so that no bitmap file has to be kept in step with the buttons.
#pragma once

#include "framework/graphics/ImageList.h"

enum TQRPreviewGlyph : int {
    pgZoomFit,
    pgZoomWidth,
    pgZoom100,
    pgFirstPage,
    pgPreviousPage,
    pgNextPage,
    pgLastPage,
    pgGotoPage,
    pgFind,
    pgCopy,
    pgPrintSetup,
    pgPrint,
    pgLoad,
    pgSave,
    pgCancel,
    pgGlyphCount
};

constexpr int PreviewGlyphSize = 20;

// Fills the list (its size set to the glyphs') with every glyph in TQRPreviewGlyph order.
void AddPreviewGlyphs(TImageList& images);
