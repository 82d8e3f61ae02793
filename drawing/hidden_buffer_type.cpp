// The HiddenBuffer's interface as late-bound callers see it (members in interface order with
// their help strings), and its registration as a creatable class.
#include "drawing/hidden_buffer.h"

#include "platform/host/class_registry.h"
#include "platform/host/type_builder.h"

namespace brimlox::drawing {

namespace {

using host::ParamInfo;
using host::TypeBuilder;
using host::Variant;

// An optional argument: missing or Empty gives the default.
const Variant* Arg(std::span<Variant> args, std::size_t i) {
    return i < args.size() && !args[i].IsEmpty() ? &args[i] : nullptr;
}

std::uint32_t Colour(const Variant& v) { return host::VariantCast<std::uint32_t>::From(v); }

void AddSurfaceMembers(TypeBuilder<HiddenBuffer>& b) {
    b.Method(
         "Attach",
         [](HiddenBuffer& h, std::span<Variant> a) {
             return Variant(h.Attach(DcFromValue(a[0].ToLong()), a[1].ToLong(), a[2].ToLong()));
         },
         "Attaches the buffer to a device context and makes a surface of the given size.",
         {ParamInfo{"ctrlhDC"}, ParamInfo{"ctrlWidth"}, ParamInfo{"ctrlHeight"}}, 1)
        .Get("Attached", &HiddenBuffer::Attached, "Returns whether the buffer has a drawing surface.", 2)
        .Get(
            "hDC", &HiddenBuffer::hDCValue, "Returns the handle of the buffer's device context.", 3)
        .Method(
            "Resize",
            [](HiddenBuffer& h, std::span<Variant> a) {
                h.Resize(a[0].ToLong(), a[1].ToLong());
                return Variant();
            },
            "Replaces the drawing surface by one of a new size.", {ParamInfo{"newWidth"}, ParamInfo{"newHeight"}}, 4)
        .Method(
            "Clear",
            [](HiddenBuffer& h, std::span<Variant> a) {
                const Variant* c = Arg(a, 0);
                h.Clear(c ? Colour(*c) : 0u);
                return Variant();
            },
            "Fills the whole buffer with a colour (the button face when none is given).",
            {ParamInfo{"lBackColor", true, true}}, 5);
}

void AddPenMembers(TypeBuilder<HiddenBuffer>& b) {
    b.Method(
         "DrawLine",
         [](HiddenBuffer& h, std::span<Variant> a) {
             const Variant* c = Arg(a, 4);
             const Variant* box = Arg(a, 5);
             h.DrawLine(a[0].ToLong(), a[1].ToLong(), a[2].ToLong(), a[3].ToLong(), c ? Colour(*c) : kWindowTextColour,
                        box ? box->ToLong() : 0);
             return Variant();
         },
         "Draws a line, a box or a filled box.",
         {ParamInfo{"X1"}, ParamInfo{"Y1"}, ParamInfo{"X2"}, ParamInfo{"Y2"}, ParamInfo{"OLELineColor", true},
          ParamInfo{"Box", true}},
         6)
        .Property("DrawStyle", &HiddenBuffer::DrawStyle, &HiddenBuffer::SetDrawStyle,
                  "Returns/sets the line style of the lines drawn.", 7)
        .Property("PenType", &HiddenBuffer::PenType, &HiddenBuffer::SetPenType,
                  "Returns/sets whether lines use a cosmetic or a geometric pen.", 8)
        .Property("LineEndCap", &HiddenBuffer::LineEndCap, &HiddenBuffer::SetLineEndCap,
                  "Returns/sets the end caps of geometric lines.", 9)
        .Property("LineJoin", &HiddenBuffer::LineJoin, &HiddenBuffer::SetLineJoin,
                  "Returns/sets the joins of geometric lines.", 10)
        .Property("DrawMode", &HiddenBuffer::DrawMode, &HiddenBuffer::SetDrawMode,
                  "Returns/sets how lines combine with the pixels already drawn.", 11)
        .Property("DrawWidth", &HiddenBuffer::DrawWidth, &HiddenBuffer::SetDrawWidth,
                  "Returns/sets the width of geometric lines (at least 1).", 12);
}

void AddTextMembers(TypeBuilder<HiddenBuffer>& b) {
    b.Property("TextFont", &HiddenBuffer::TextFont, &HiddenBuffer::SetTextFont,
               "Returns/sets the font text is drawn with.", 13)
        .Method(
            "DrawTextRect",
            [](HiddenBuffer& h, std::span<Variant> a) {
                const Variant* d3 = Arg(a, 5);
                const Variant* enabled = Arg(a, 6);
                const Variant* align = Arg(a, 7);
                h.DrawTextRect(a[0].ToLong(), a[1].ToLong(), a[2].ToLong(), a[3].ToLong(), a[4].ToString(),
                               d3 && d3->ToBool(), !enabled || enabled->ToBool(), align ? align->ToLong() : 3);
                return Variant();
            },
            "Draws text clipped to a rectangle, optionally in a 3D frame.",
            {ParamInfo{"X1"}, ParamInfo{"Y1"}, ParamInfo{"X2"}, ParamInfo{"Y2"}, ParamInfo{"sText"},
             ParamInfo{"Draw3D", true, true}, ParamInfo{"TextEnabled", true}, ParamInfo{"TextAlignment", true}},
            14)
        .Property("ForeColor", &HiddenBuffer::ForeColor, &HiddenBuffer::SetForeColor,
                  "Returns/sets the colour of the text.", 15)
        .Property("BackColor", &HiddenBuffer::BackColor, &HiddenBuffer::SetBackColor,
                  "Returns/sets the colour behind the text.", 16)
        .Method(
            "Show",
            [](HiddenBuffer& h, std::span<Variant>) {
                h.Show();
                return Variant();
            },
            "Copies the buffer to the device context it is attached to.", {}, 17)
        .Method(
            "DrawPicture",
            [](HiddenBuffer& h, std::span<Variant> a) {
                h.DrawPicture(a[0].ToLong(), a[1].ToLong(), a[2].ToLong(), a[3].ToLong(),
                              a[4].As<host::StdPicture>());
                return Variant();
            },
            "Copies a picture, unscaled, into a rectangle of the buffer.",
            {ParamInfo{"X1"}, ParamInfo{"Y1"}, ParamInfo{"X2"}, ParamInfo{"Y2"}, ParamInfo{"pPicture"}}, 18);
}

}  // namespace

const host::TypeInfo* HiddenBuffer::GetTypeInfo() const {
    static const auto info = [] {
        TypeBuilder<HiddenBuffer> b("HiddenBuffer");
        AddSurfaceMembers(b);
        AddPenMembers(b);
        AddTextMembers(b);
        return b.Build();
    }();
    return info.get();
}

}  // namespace brimlox::drawing
