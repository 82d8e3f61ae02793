#include "controls/divider/divider_test.h"

#include "foundation/painters/tile.h"
#include "platform/desktop/input_script.h"
#include "platform/desktop/input_source.h"
#include "platform/gdi/handles.h"

namespace brimlox::test {

namespace {

constexpr int kTwips = 15;

void Put(std::vector<std::uint8_t>& b, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A BITMAPINFOHEADER; `heightField` is the height as the header gives it.
void PutInfoHeader(std::vector<std::uint8_t>& b, int width, int heightField, int bits, std::uint32_t imageBytes) {
    Put(b, 40, 4), Put(b, width, 4), Put(b, heightField, 4), Put(b, 1, 2), Put(b, bits, 2);
    Put(b, 0, 4), Put(b, imageBytes, 4);
    for (int i = 0; i < 4; ++i) Put(b, 0, 4);
}

}  // namespace

const host::TypeInfo* ToolBarStandIn::GetTypeInfo() const {
    static const auto info = host::TypeBuilder<ToolBarStandIn>("ToolBarStandIn")
                                 .Property("Picture", &ToolBarStandIn::Picture, &ToolBarStandIn::SetPicture, "")
                                 .Property("BackColor", &ToolBarStandIn::BackColor, &ToolBarStandIn::SetBackColor, "")
                                 .Property("Transparent", &ToolBarStandIn::Transparent,
                                           &ToolBarStandIn::SetTransparent, "")
                                 .Property("Vertical", &ToolBarStandIn::Vertical, &ToolBarStandIn::SetVertical, "")
                                 .Method("Refresh", [](ToolBarStandIn& t, std::span<host::Variant>) {
                                     t.RefreshBar();
                                     return host::Variant();
                                 }, "")
                                 .Build();
    return info.get();
}

void ToolBarStandIn::Paint() {
    auto picture = Picture();
    if (picture && picture->Type() == host::PictureType::Bitmap)
        foundation::TileBitmap(hDC(), Width() / kTwips, Height() / kTwips, picture->Bitmap(), 0, 0);
}

void DividerTest::SetUp() {
    HostTest::SetUp();
    host::RegisterControlType("ToolBarStandIn", [] { return std::make_shared<ToolBarStandIn>(); });
}

void DividerTest::TearDown() {
    if (form && !form->Unloaded()) form->Unload();
    form.reset();
    HostTest::TearDown();
}

host::Form& DividerTest::MakeForm(bool designMode) {
    form = host::Form::Create("frmDividers", designMode);
    form->SetBorderStyle(0);
    form->Move(0, 0, 400 * kTwips, 300 * kTwips);
    form->Show();
    return *form;
}

std::shared_ptr<controls::Divider> DividerTest::AddDivider(int x, int y, int w, int h, host::Control* container) {
    auto d = std::static_pointer_cast<controls::Divider>(form->Add("Divider", "", container));
    d->Move(x * kTwips, y * kTwips, w * kTwips, h * kTwips);
    return d;
}

std::shared_ptr<ToolBarStandIn> DividerTest::AddToolBar(int x, int y, int w, int h) {
    auto bar = std::static_pointer_cast<ToolBarStandIn>(form->Add("ToolBarStandIn", "tbrStandIn"));
    bar->Move(x * kTwips, y * kTwips, w * kTwips, h * kTwips);
    return bar;
}

void DividerTest::Play(const std::string& script) {
    desktop::InputScript parsed;
    std::string error;
    ASSERT_TRUE(desktop::ParseInputScript(script, parsed, error)) << error;
    const std::uint64_t now = desktop::Desktop::Instance().Now();
    for (auto& e : parsed.events) e.timeMs += now;
    desktop::Desktop::Instance().SetInputSource(
        std::make_unique<desktop::ScriptedInput>(std::move(parsed.events), parsed.endTime + now));
    host::Run();
}

COLORREF DividerTest::PixelOf(host::Control& control, int x, int y) {
    host::DoEvents();
    return GetPixel(control.hDC(), x, y);
}

std::size_t DividerTest::LiveGdiObjects() { return gdi::HandleTable::Instance().LiveCount(); }

std::shared_ptr<host::StdPicture> GridPicture(int width, int height) {
    const int stride = (width * 3 + 3) / 4 * 4;
    std::vector<std::uint8_t> b = {'B', 'M'};
    Put(b, 54 + stride * height, 4), Put(b, 0, 4), Put(b, 54, 4);
    PutInfoHeader(b, width, height, 24, stride * height);
    for (int y = height - 1; y >= 0; --y) {  // bottom-up
        for (int x = 0; x < width; ++x) {
            const COLORREF c = GridColour(x, y);
            b.push_back(GetBValue(c)), b.push_back(GetGValue(c)), b.push_back(GetRValue(c));
        }
        for (int pad = width * 3; pad < stride; ++pad) b.push_back(0);
    }
    return host::StdPicture::FromBytes(std::move(b));
}

std::shared_ptr<host::StdPicture> SolidIcon(COLORREF colour) {
    constexpr int kSide = 16;
    constexpr std::uint32_t kColourBytes = kSide * kSide * 4, kMaskBytes = kSide * 4;
    std::vector<std::uint8_t> b;
    Put(b, 0, 2), Put(b, 1, 2), Put(b, 1, 2);  // an icon directory of one image
    b.push_back(kSide), b.push_back(kSide), b.push_back(0), b.push_back(0);
    Put(b, 1, 2), Put(b, 32, 2), Put(b, 40 + kColourBytes + kMaskBytes, 4), Put(b, 22, 4);
    PutInfoHeader(b, kSide, 2 * kSide, 32, kColourBytes + kMaskBytes);
    for (int i = 0; i < kSide * kSide; ++i)
        b.push_back(GetBValue(colour)), b.push_back(GetGValue(colour)), b.push_back(GetRValue(colour)), b.push_back(255);
    for (std::uint32_t i = 0; i < kMaskBytes; ++i) b.push_back(0);
    return host::StdPicture::FromBytes(std::move(b));
}

}  // namespace brimlox::test
