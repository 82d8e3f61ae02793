// Pen objects: what CreatePen and ExtCreatePen made, kept as the LOGPEN / EXTLOGPEN fields
// so that GetObjectA can hand them back and the line rasteriser can read them.
#pragma once

#include <vector>

#include "platform/gdi/handles.h"

namespace brimlox::gdi {

class PenObject : public GdiObject {
public:
    static constexpr ObjectKind kKind = ObjectKind::Pen;
    PenObject(bool extended) : GdiObject(extended ? ObjectKind::ExtPen : ObjectKind::Pen) {}

    int Style() const { return static_cast<int>(styleBits & PS_STYLE_MASK); }
    int EndCap() const { return static_cast<int>(styleBits & PS_ENDCAP_MASK); }
    int Join() const { return static_cast<int>(styleBits & PS_JOIN_MASK); }
    bool Geometric() const { return (styleBits & PS_TYPE_MASK) == PS_GEOMETRIC; }
    bool Extended() const { return Kind() == ObjectKind::ExtPen; }

    DWORD styleBits = PS_SOLID;  // the whole style word, type, cap and join included
    int width = 0;               // in logical units; 0 and 1 draw one pixel wide
    COLORREF color = 0;
    LOGBRUSH brush;              // the brush of an extended pen (colour in lbColor)
    bool dcPen = false;          // the stock DC_PEN: colour comes from the DC
    std::vector<DWORD> userStyle;  // PS_USERSTYLE dash and gap lengths
};

// The pen behind a handle of either pen kind (CreatePen or ExtCreatePen), or nullptr.
PenObject* LookupPen(HGDIOBJ handle);

}  // namespace brimlox::gdi
