// A control of one's own: a colour swatch that paints itself through the platform's GDI calls
// (a sunken edge, a brush and a pen for a diamond) and publishes one property, Color, for late-bound
// calls and form files. It is registered with the host under its type name, so a form creates
// it by name like any control of the library.
#include <cstdint>
#include <cstdio>
#include <memory>

#include "controls/library.h"
#include "platform/gdi/gdi.h"
#include "platform/host/control.h"
#include "platform/host/control_registry.h"
#include "platform/host/form.h"
#include "platform/host/form_file.h"
#include "platform/host/runtime.h"
#include "platform/host/type_builder.h"
#include "platform/user/user.h"

using namespace brimlox;

class Swatch : public host::Control {
public:
    std::string TypeName() const override { return "Swatch"; }
    const host::TypeInfo* GetTypeInfo() const override {
        static const auto info = host::TypeBuilder<Swatch>("Swatch")
                                     .Property("Color", &Swatch::Color, &Swatch::SetColor,
                                               "Returns/sets the colour of the swatch.")
                                     .Build();
        return info.get();
    }
    std::int32_t Color() const { return color_; }
    void SetColor(std::int32_t color) {
        color_ = color;
        PropertyChanged("Color");
        Refresh();
    }
    void ReadProperties(host::PropertyBag& bag) override {
        color_ = bag.ReadProperty("Color", std::int32_t{0x0080FF}).ToLong();
    }
    void WriteProperties(host::PropertyBag& bag) override { bag.WriteProperty("Color", color_, std::int32_t{0x0080FF}); }

    // Every object made here is selected out and deleted before the paint ends.
    void Paint() override {
        RECT r;
        GetClientRect(hWnd(), &r);
        HDC dc = hDC();
        DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        HBRUSH fill = CreateSolidBrush(static_cast<COLORREF>(color_));
        HPEN outline = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
        HGDIOBJ oldBrush = SelectObject(dc, fill);
        HGDIOBJ oldPen = SelectObject(dc, outline);
        const LONG midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
        const POINT diamond[] = {{midX, r.top + 2}, {r.right - 3, midY}, {midX, r.bottom - 3}, {r.left + 2, midY}};
        Polygon(dc, diamond, 4);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(outline);
        DeleteObject(fill);
    }

private:
    std::int32_t color_ = 0x0080FF;
};

int main() {
    controls::RegisterLibrary();
    host::RegisterControlType("Swatch", [] { return std::make_shared<Swatch>(); });

    auto form = host::Form::Create("frmSwatch");
    form->SetCaption("Swatch");
    form->Move(0, 0, 3600, 2400);
    auto swatch = form->Add("Swatch", "swOrange");
    swatch->Move(240, 240, 1200, 1200);
    host::LetProperty(*swatch, "Color", std::int32_t{0x00C000});
    // The new type saves and loads like the library's own.
    std::printf("%s", host::SaveFormText(*form).c_str());
    form->Show();
    return host::Run();
}
