// Reading back what a report page shows: the text records of a page's metafile, each with the
// face name of the font selected when it was drawn.
#pragma once

#include <map>
#include <vector>

#include "framework/graphics/Metafile.h"
#include "framework/rtl/WinApi.h"

// One piece of text on a page, with the face name of the font selected when it was drawn.
struct TTextRecord {
    String Text;
    String Face;
    int Y;
};

// The records of an enhanced metafile's bytes (a stored page, or a metafile's own bits).
inline std::vector<TTextRecord> TextRecords(const std::vector<BYTE>& bytes) {
    std::map<DWORD, String> fonts;
    String face;
    std::vector<TTextRecord> records;
    for (std::size_t at = 0; at + sizeof(EMR) <= bytes.size();) {
        const auto* record = reinterpret_cast<const EMR*>(&bytes[at]);
        if (record->nSize < sizeof(EMR) || at + record->nSize > bytes.size()) break;
        switch (record->iType) {
        case EMR_EXTCREATEFONTINDIRECTW: {
            const auto* font = reinterpret_cast<const EMREXTCREATEFONTINDIRECTW*>(record);
            fonts[font->ihFont] = font->elfw.elfLogFont.lfFaceName;
            break;
        }
        case EMR_DELETEOBJECT:  // the index may come back as a pen or a brush
            fonts.erase(reinterpret_cast<const EMRDELETEOBJECT*>(record)->ihObject);
            break;
        case EMR_SELECTOBJECT: {
            auto it = fonts.find(reinterpret_cast<const EMRSELECTOBJECT*>(record)->ihObject);
            if (it != fonts.end()) face = it->second;
            break;
        }
        case EMR_EXTTEXTOUTW: {
            const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
            const auto* chars = reinterpret_cast<const wchar_t*>(&bytes[at + text->emrtext.offString]);
            records.push_back({String(chars, text->emrtext.nChars), face, static_cast<int>(text->emrtext.ptlReference.y)});
            break;
        }
        default: break;
        }
        at += record->nSize;
    }
    return records;
}

inline std::vector<TTextRecord> TextRecords(const TMetafile& page) {
    const UINT size = GetEnhMetaFileBits(page.Handle(), 0, nullptr);
    std::vector<BYTE> bytes(size);
    GetEnhMetaFileBits(page.Handle(), size, bytes.data());
    return TextRecords(bytes);
}
