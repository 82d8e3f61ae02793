// The drawing trace: what the recorder writes and when, and replaying it to the same pixels.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/trace.h"
#include "platform/gdi/trace_base64.h"
#include "platform/gdi/trace_surface.h"
#include "platform/gdi/trace_replayer.h"
#include "support/gdi_test.h"
#include "support/paths.h"

using brimlox::gdi::Surface;
using brimlox::gdi::PixelFormat;
using brimlox::gdi::replay::TraceFormatError;
using brimlox::gdi::replay::TraceReplayer;
using brimlox::test::GdiTest;
using Json = nlohmann::json;

namespace {

class GdiTrace : public GdiTest {
protected:
    std::string TracePath(const char* name) { return brimlox::test::OutputDir() + "/" + name + ".trace"; }
};

std::vector<Json> ReadLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<Json> lines;
    std::string text;
    while (std::getline(in, text)) lines.push_back(Json::parse(text));
    return lines;
}

// Index of the first line with this op (and this handle as "h" or first argument), or -1.
int Find(const std::vector<Json>& lines, const std::string& op, std::uint32_t handle = 0, int from = 0) {
    for (int i = from; i < static_cast<int>(lines.size()); ++i) {
        const Json& j = lines[static_cast<std::size_t>(i)];
        if (j["op"] != op) continue;
        if (handle == 0) return i;
        if (j.contains("h") && j["h"] == handle) return i;
        if (j.contains("args") && !j["args"].empty() && j["args"][0] == handle) return i;
    }
    return -1;
}

int Count(const std::vector<Json>& lines, const std::string& op) {
    int n = 0;
    for (const Json& j : lines) n += j["op"] == op;
    return n;
}

std::string Replay(const std::string& text, TraceReplayer& replayer) {
    std::istringstream in(text);
    try {
        replayer.Run(in);
    } catch (const TraceFormatError& e) {
        return e.what();
    }
    return "";
}

std::string Header() {
    std::string s = R"({"op":"#trace","version":1,"twips_per_pixel":15,"syscolors":[)";
    for (int i = 0; i < SYSCOLOR_COUNT; ++i) s += (i ? "," : "") + std::to_string(GetSysColor(i));
    return s + "]}\n";
}

// A #dc line of a w x h surface filled with one colour.
std::string DcLine(std::uint32_t h, int w, int ht, COLORREF fill) {
    std::vector<std::uint8_t> px(static_cast<std::size_t>(w * ht * 4));
    for (std::size_t i = 0; i < px.size(); i += 4) {
        px[i] = GetBValue(fill);
        px[i + 1] = GetGValue(fill);
        px[i + 2] = GetRValue(fill);
        px[i + 3] = 255;
    }
    std::string line = R"({"op":"#dc","h":)" + std::to_string(h) + R"(,"width":)" + std::to_string(w) +
                       R"(,"height":)" + std::to_string(ht) + R"(,"pixels":")";
    brimlox::gdi::AppendBase64(line, px.data(), px.size());
    return line + "\"}\n";
}

bool SamePixels(const Surface& a, const Surface& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Get(x, y) != b.Get(x, y)) return false;
    return true;
}

}  // namespace

// The scene draws on a surface DC standing in for a window, with objects made before and
// during tracing, a DIB section written through its pointer, and every brush kind.
TEST_F(GdiTrace, SceneRecordsWhatReplayNeedsAndReplaysToIdenticalPixels) {
    auto window = Surface::Create(40, 40, PixelFormat::Bgrx32);
    window->Clear(0x336699);
    HDC win = brimlox::gdi::CreateSurfaceDC(window.get(), POINT{0, 0}, RECT{0, 0, 40, 40});
    // A picture's bitmap, made before tracing began: a mono checkerboard.
    const std::uint8_t checker[16] = {0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0};
    HBITMAP picture = CreateBitmap(8, 8, 1, 1, checker);

    std::string path = TracePath("scene");
    ASSERT_TRUE(brimlox::gdi::TraceStart(path));
    HBRUSH red = CreateSolidBrush(RGB(220, 20, 20));
    RECT r1{2, 2, 20, 12};
    FillRect(win, &r1, red);
    RECT r2{22, 2, 38, 12};
    FillRect(win, &r2, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    HBRUSH hatch = CreateHatchBrush(HS_DIAGCROSS, RGB(0, 128, 0));
    SetBkColor(win, RGB(255, 255, 0));
    RECT r3{2, 14, 14, 28};
    FillRect(win, &r3, hatch);
    SetBkMode(win, TRANSPARENT);
    RECT r4{14, 14, 22, 28};
    FillRect(win, &r4, hatch);
    FrameRect(win, &r1, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetPixel(win, 39, 29, RGB(1, 2, 3));
    HBRUSH checkerBrush = CreatePatternBrush(picture);
    RECT r5{22, 14, 30, 28};
    SetTextColor(win, RGB(255, 0, 255));
    FillRect(win, &r5, checkerBrush);
    // A DIB section written directly, then read through a pattern brush, twice.
    BITMAPINFO bi;
    bi.bmiHeader.biWidth = 8;
    bi.bmiHeader.biHeight = 8;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bits, nullptr);
    auto* p = static_cast<std::uint8_t*>(bits);
    for (int i = 0; i < 8 * 24; ++i) p[i] = static_cast<std::uint8_t>(i * 7);
    HBRUSH dibBrush = CreatePatternBrush(dib);
    HBRUSH dibBrush2 = CreatePatternBrush(dib);
    RECT r6{30, 14, 38, 28};
    FillRect(win, &r6, dibBrush);
    // Written again, then blitted and stretched from a memory DC it is selected into.
    HDC mem = CreateCompatibleDC(win);
    HGDIOBJ memOld = SelectObject(mem, dib);
    for (int i = 0; i < 24; i += 3) p[i + 2] = 0xFF;
    BitBlt(win, 2, 30, 8, 8, mem, 0, 0, SRCCOPY);
    StretchBlt(win, 12, 30, 16, 8, mem, 0, 0, 8, 8, SRCINVERT);
    SelectObject(mem, memOld);
    DeleteDC(mem);
    for (HGDIOBJ o : {static_cast<HGDIOBJ>(red), static_cast<HGDIOBJ>(hatch), static_cast<HGDIOBJ>(checkerBrush),
                      static_cast<HGDIOBJ>(dibBrush), static_cast<HGDIOBJ>(dibBrush2), static_cast<HGDIOBJ>(dib)})
        DeleteObject(o);
    brimlox::gdi::TraceStop();
    // Calls after the stop are not recorded.
    std::uint32_t corner = window->Get(0, 0);
    SetPixel(win, 0, 0, RGB(9, 9, 9));
    window->Put(0, 0, corner);

    std::vector<Json> lines = ReadLines(path);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0]["op"], "#trace");
    EXPECT_EQ(lines[0]["syscolors"].size(), 31u);
    std::uint32_t winValue = HandleValue(win);
    int dcLine = Find(lines, "#dc", winValue);
    // The window DC is described once, just before the first call that draws on it, after the
    // pixels of its surface.
    EXPECT_EQ(lines[0]["version"], 2);
    EXPECT_EQ(Count(lines, "#dc"), 1);
    EXPECT_EQ(Count(lines, "#surface"), 1);
    EXPECT_EQ(dcLine, Find(lines, "FillRect") - 1);
    ASSERT_GE(dcLine, 1);
    EXPECT_EQ(lines[static_cast<std::size_t>(dcLine - 1)]["op"], "#surface");
    EXPECT_EQ(lines[static_cast<std::size_t>(dcLine - 1)]["width"], 40);
    EXPECT_EQ(lines[static_cast<std::size_t>(dcLine)]["surface"], 1);
    // The picture is described once, before the brush made from it; the stock brush is named.
    EXPECT_EQ(Count(lines, "#bitmap"), 1);
    EXPECT_EQ(Find(lines, "#bitmap", HandleValue(picture)) + 1, Find(lines, "CreatePatternBrush"));
    EXPECT_EQ(lines[static_cast<std::size_t>(Find(lines, "GetStockObject"))]["args"][0], BLACK_BRUSH);
    // Each direct write shows up once, right before the first call reading the DIB section,
    // directly or through the DC it is selected into.
    EXPECT_EQ(Count(lines, "#bits"), 2);
    int bitsLine = Find(lines, "#bits", HandleValue(dib));
    EXPECT_EQ(lines[static_cast<std::size_t>(bitsLine + 1)]["args"][0], HandleValue(dib));
    int secondBits = Find(lines, "#bits", HandleValue(dib), bitsLine + 1);
    EXPECT_EQ(lines[static_cast<std::size_t>(secondBits + 1)]["op"], "BitBlt");
    // FillRect keeps the system colour index plus one as it was passed.
    EXPECT_EQ(lines[static_cast<std::size_t>(Find(lines, "FillRect", winValue, dcLine + 2))]["args"][2],
              COLOR_BTNFACE + 1);
    EXPECT_EQ(Count(lines, "#result"), 1);
    EXPECT_EQ(lines.back()["op"], "#result");
    EXPECT_EQ(Count(lines, "SetPixel"), 1);

    std::ifstream in(path);
    TraceReplayer replayer;
    replayer.Run(in);
    ASSERT_EQ(replayer.Surfaces().size(), 1u);
    EXPECT_TRUE(SamePixels(*replayer.Surfaces()[0].pixels, *window));
    EXPECT_EQ(replayer.ResultsChecked(), 1);
    EXPECT_FALSE(replayer.FirstMismatch().has_value());
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(212, 208, 200));

    // A #result that disagrees with the drawing is found, at the first differing pixel.
    Json& result = lines.back();
    auto pixels = *brimlox::gdi::DecodeBase64(result["pixels"].get<std::string>());
    pixels[(3 * 40 + 5) * 4] ^= 0xFF;  // (5,3) of the 40-wide surface
    std::string tampered;
    brimlox::gdi::AppendBase64(tampered, pixels.data(), pixels.size());
    result["pixels"] = tampered;
    std::string text;
    for (const Json& j : lines) text += j.dump() + "\n";
    TraceReplayer checker2;
    EXPECT_EQ(Replay(text, checker2), "");
    ASSERT_TRUE(checker2.FirstMismatch().has_value());
    EXPECT_EQ(checker2.FirstMismatch()->x, 5);
    EXPECT_EQ(checker2.FirstMismatch()->y, 3);
    EXPECT_NE(checker2.FirstMismatch()->Describe().find("pixel (5,3)"), std::string::npos);

    DeleteObject(picture);
    DeleteDC(win);
}

TEST_F(GdiTrace, MalformedTracesAreRejectedWithLineAndProblem) {
    const std::string head = Header();
    const std::string dc = DcLine(100, 2, 2, RGB(255, 255, 255));
    struct Case {
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {"", "line 1: the trace is empty"},
        {"{\"op\":\"FillRect\",\"args\":[]}\n", "line 1: FillRect: the trace does not start with a #trace line"},
        {R"({"op":"#trace","version":3,"twips_per_pixel":15,"syscolors":[]})" "\n", "line 1: #trace: \"version\" is 3"},
        {R"({"op":"#trace","version":1,"twips_per_pixel":15,"syscolors":[1,2]})" "\n", "line 1: #trace: \"syscolors\" must be"},
        {head + "{\"op\":\"FillRect\",\"args\":[1,2,\n", "line 2: bad JSON"},
        {head + "[1,2]\n", "line 2: not a JSON object"},
        {head + "{\"args\":[]}\n", "line 2: no \"op\" string"},
        {head + "\n{\"op\":\"Frobnicate\",\"args\":[]}\n", "line 3: Frobnicate: unknown op \"Frobnicate\""},
        {head + "{\"op\":\"#frob\"}\n", "line 2: #frob: unknown op"},
        {head + "{\"op\":\"FillRect\"}\n", "line 2: FillRect: \"args\" is missing"},
        {head + dc + "{\"op\":\"FillRect\",\"args\":[100,[0,0,1],16]}\n", "line 3: FillRect: argument 2 is not a rectangle"},
        {head + dc + "{\"op\":\"FillRect\",\"args\":[100,[0,0,1,1]]}\n", "line 3: FillRect: argument 3 is missing"},
        {head + dc + "{\"op\":\"SetPixel\",\"args\":[100,0,\"x\",0]}\n", "line 3: SetPixel: argument 3 is not an integer"},
        {head + R"({"op":"#dc","h":5,"width":2,"height":2,"pixels":"AAA*"})" "\n", "line 2: #dc: \"pixels\" is not valid base64"},
        {head + R"({"op":"#dc","h":5,"width":2,"height":2,"pixels":"AAAA"})" "\n", "line 2: #dc: \"pixels\" holds 3 bytes, but 2x2 needs 16"},
        {head + R"({"op":"#dc","h":5,"width":-2,"height":2,"pixels":""})" "\n", "line 2: #dc: \"width\" is -2"},
        {head + R"({"op":"#bitmap","h":5,"width":8,"height":1,"bpp":8,"pixels":""})" "\n", "line 2: #bitmap: \"bpp\" is 8"},
        {head + R"({"op":"#bitmap","h":5,"width":8,"height":2,"bpp":1,"pixels":"AAAA"})" "\n", "line 2: #bitmap: \"pixels\" holds 3 bytes, but 8x2 at 1 bpp needs 4"},
        {head + R"({"op":"#bits","h":77,"pixels":""})" "\n", "line 2: #bits: handle 77 is not a bitmap"},
        {head + R"({"op":"#result","h":77,"pixels":""})" "\n", "line 2: #result: handle 77 has no #dc"},
        {head + dc + R"({"op":"#result","h":100,"pixels":"AAAA"})" "\n", "line 3: #result: \"pixels\" holds 3 bytes, but 2x2 needs 16"},
        {head + head, "line 2: #trace: a second #trace line"},
    };
    for (const Case& c : cases) {
        TraceReplayer replayer;
        std::string message = Replay(c.text, replayer);
        EXPECT_EQ(message.rfind(c.message, 0), 0u) << "got: " << message << "\nwanted: " << c.message;
    }
    // Objects whose recorded handle is missing, or repeated, are still freed (found by fuzzing;
    // the fixture checks for leaks), and numbers beyond JSON's range are bad JSON.
    TraceReplayer unnamed;
    EXPECT_EQ(Replay(head + R"({"op":"CreateSolidBrush","args":[1]})" "\n"
                            R"({"op":"CreateSolidBrush","args":[2],"ret":5})" "\n"
                            R"({"op":"CreateSolidBrush","args":[3],"ret":5})" "\n",
                     unnamed),
              "");
    TraceReplayer overflow;
    EXPECT_EQ(Replay(head + R"({"op":"SetPixel","args":[1,2,3,4e999]})" "\n", overflow).rfind("line 2: bad JSON", 0), 0u);
    // A handle used before it exists passes through and fails as it would have: nothing drawn.
    TraceReplayer replayer;
    EXPECT_EQ(Replay(head + dc + "{\"op\":\"FillRect\",\"args\":[100,[0,0,2,2],4242],\"ret\":0}\n", replayer), "");
    EXPECT_EQ(replayer.Surfaces()[0].pixels->Get(0, 0), 0xFFFFFFu);
}

// Structure fields are checked one by one: a missing face name, a field beyond its type and a
// structure that is not an object are named, never read blindly; nesting is bounded per line.
TEST_F(GdiTrace, StructureFieldsAndNestingAreCheckedBeforeUse) {
    const std::string head = Header();
    auto font = [](const std::string& fields) {
        return R"({"op":"CreateFontIndirectA","args":[{"lfHeight":-11,"lfWidth":0,"lfEscapement":0,"lfOrientation":0,"lfWeight":400,"lfItalic":0,"lfUnderline":0,"lfStrikeOut":0,"lfCharSet":0,"lfOutPrecision":0,"lfClipPrecision":0,"lfQuality":0,"lfPitchAndFamily":0)" +
               fields + "}],\"ret\":40}\n";
    };
    struct Case {
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {head + font(""), "line 2: CreateFontIndirectA: argument 1 lacks the field lfFaceName"},
        {head + font(R"(,"lfFaceName":7)"), "line 2: CreateFontIndirectA: argument 1 lacks the string field lfFaceName"},
        {head + font(R"(,"lfFaceName":"Arial","lfItalic":256)"), "line 2: CreateFontIndirectA: argument 1 field lfItalic is 256"},
        {head + R"({"op":"CreateFontIndirectA","args":[5],"ret":40})" "\n", "line 2: CreateFontIndirectA: argument 1 is not an object"},
        {head + R"({"op":"CreateBrushIndirect","args":[{"lbStyle":0,"lbColor":4294967296,"lbHatch":0}],"ret":41})" "\n",
         "line 2: CreateBrushIndirect: argument 1 field lbColor is 4294967296"},
        {head + R"({"op":"SetPixel","args":[1,18446744073709551615,0,0]})" "\n", "line 2: SetPixel: argument 2 is not an integer"},
        {head + R"({"op":"SetPixel","args":[1,4294967296,0,0]})" "\n", "line 2: SetPixel: argument 2 is 4294967296"},
        {head + R"({"op":"FillRect","args":[1,[0,0,4294967296,1],16]})" "\n", "line 2: FillRect: argument 2 has a coordinate"},
        {head + R"({"op":"FillRect","args":)" + std::string(20000, '[') + std::string(20000, ']') + "}\n",
         "line 2: $.args[0][0]"},
    };
    for (const Case& c : cases) {
        TraceReplayer replayer;
        std::string message = Replay(c.text, replayer);
        EXPECT_EQ(message.rfind(c.message, 0), 0u) << "got: " << message.substr(0, 300) << "\nwanted: " << c.message;
    }
    // The fuzzer's font seed replays whole: both fonts are made, used and freed.
    std::ifstream seed(brimlox::test::SourceDir() + "/fuzz/seeds/trace/fonts.trace");
    std::string text((std::istreambuf_iterator<char>(seed)), {});
    ASSERT_FALSE(text.empty());
    TraceReplayer replayer;
    EXPECT_EQ(Replay(text, replayer), "");
}

TEST_F(GdiTrace, HandWrittenTracesReplayWithAndWithoutDc) {
    // Only #trace, #dc and calls: a system colour brush (index plus one) and a created brush.
    std::string text = Header() + DcLine(7, 4, 3, RGB(255, 255, 255)) +
                       R"({"op":"FillRect","args":[7,[0,0,2,3],6],"ret":1})" "\n"
                       R"({"op":"CreateSolidBrush","args":[255],"ret":900})" "\n"
                       R"({"op":"FillRect","args":[7,[2,1,4,2],900],"ret":1})" "\n"
                       R"({"op":"DeleteObject","args":[900],"ret":1})" "\n";
    TraceReplayer replayer;
    ASSERT_EQ(Replay(text, replayer), "");
    ASSERT_EQ(replayer.Surfaces().size(), 1u);
    const Surface& s = *replayer.Surfaces()[0].pixels;
    EXPECT_EQ(s.Get(0, 0), brimlox::gdi::ToPixel(GetSysColor(COLOR_WINDOW)));
    EXPECT_EQ(s.Get(1, 2), brimlox::gdi::ToPixel(GetSysColor(COLOR_WINDOW)));
    EXPECT_EQ(s.Get(3, 1), 0xFF0000u);
    EXPECT_EQ(s.Get(3, 0), 0xFFFFFFu);
    EXPECT_EQ(replayer.ResultsChecked(), 0);

    // Without #dc the bitmap last held by the first memory DC is the result, even after the
    // program selected it out and deleted everything.
    std::string offscreen = Header() +
                            R"({"op":"CreateCompatibleDC","args":[0],"ret":11})" "\n"
                            R"({"op":"CreateBitmap","args":[3,2,1,32,null],"ret":12})" "\n"
                            R"({"op":"SelectObject","args":[11,12],"ret":13})" "\n"
                            R"({"op":"CreateHatchBrush","args":[4,65280],"ret":14})" "\n"
                            R"({"op":"FillRect","args":[11,[0,0,3,2],14],"ret":1})" "\n"
                            R"({"op":"SetPixel","args":[11,0,0,255],"ret":255})" "\n"
                            R"({"op":"SelectObject","args":[11,13],"ret":12})" "\n"
                            R"({"op":"DeleteObject","args":[12],"ret":1})" "\n"
                            R"({"op":"DeleteObject","args":[14],"ret":1})" "\n"
                            R"({"op":"DeleteDC","args":[11],"ret":1})" "\n";
    TraceReplayer fallback;
    ASSERT_EQ(Replay(offscreen, fallback), "");
    EXPECT_FALSE(fallback.HadDcLines());
    ASSERT_EQ(fallback.Surfaces().size(), 1u);
    EXPECT_FALSE(fallback.Surfaces()[0].fromDcLine);
    EXPECT_EQ(fallback.Surfaces()[0].pixels->Width(), 3);
    EXPECT_EQ(fallback.Surfaces()[0].pixels->Get(0, 0), 0xFF0000u);
    // An unfinished trace still frees what it made (the fixture checks for leaks).
    TraceReplayer partial;
    EXPECT_EQ(Replay(offscreen.substr(0, offscreen.find("{\"op\":\"SelectObject\",\"args\":[11,13]")) +
                         "{\"op\":\"Oops\",\"args\":[]}\n",
                     partial)
                  .rfind("line 8: Oops: unknown op", 0),
              0u);
}

// Objects and DCs that existed before tracing began are described, state included, and a
// window DC moved to a new surface is described again; the replay matches every #result.
TEST_F(GdiTrace, ObjectsFromBeforeTracingAndRetargetedWindowsReplay) {
    auto first = Surface::Create(6, 4, PixelFormat::Bgrx32);
    first->Clear(0x102030);
    HDC win = brimlox::gdi::CreateSurfaceDC(first.get(), POINT{1, 1}, RECT{1, 1, 6, 4});
    HDC mem = CreateCompatibleDC(nullptr);
    HBITMAP memBits = CreateBitmap(5, 5, 1, 32, nullptr);
    HGDIOBJ oldBits = SelectObject(mem, memBits);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    HBRUSH old = static_cast<HBRUSH>(SelectObject(win, blue));
    SetBkColor(mem, RGB(10, 20, 30));
    const std::uint8_t stripes[4] = {0xF0, 0, 0x0F, 0};
    HBITMAP stripeBits = CreateBitmap(8, 2, 1, 1, stripes);
    HBRUSH striped = CreatePatternBrush(stripeBits);
    DeleteObject(stripeBits);
    LOGFONTA lf;
    lf.lfHeight = -11;
    std::strcpy(lf.lfFaceName, "Arial");
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ oldFont = SelectObject(mem, font);

    std::string path = TracePath("before");
    ASSERT_TRUE(brimlox::gdi::TraceStart(path));
    RECT all{0, 0, 5, 5};
    FillRect(win, &all, blue);
    RECT corner{0, 0, 3, 3};
    FillRect(mem, &corner, striped);
    HBRUSH hatch = CreateHatchBrush(HS_CROSS, RGB(255, 255, 255));
    FillRect(mem, &all, hatch);
    auto second = Surface::Create(8, 8, PixelFormat::Bgrx32);
    brimlox::gdi::RetargetSurfaceDC(win, second.get(), POINT{0, 0}, RECT{0, 0, 8, 8});
    SetPixel(win, 7, 7, RGB(255, 0, 0));
    DeleteObject(hatch);
    brimlox::gdi::TraceStop();

    std::vector<Json> lines = ReadLines(path);
    EXPECT_EQ(Count(lines, "#dc"), 3);  // the window twice, the memory DC once
    EXPECT_EQ(Count(lines, "#surface"), 3);  // both window surfaces and the memory DC's bitmap
    EXPECT_EQ(Count(lines, "#result"), 2);   // the first window surface has no DC left on it
    int dcOfWin = Find(lines, "#dc", HandleValue(win));
    EXPECT_EQ(lines[static_cast<std::size_t>(dcOfWin)]["origin"], Json::parse("[1,1]"));
    EXPECT_EQ(lines[static_cast<std::size_t>(dcOfWin)]["clip"], Json::parse("[1,1,6,4]"));
    EXPECT_EQ(lines[static_cast<std::size_t>(Find(lines, "#dc", HandleValue(mem)))]["memory"], true);
    // The brush selected before tracing is created and selected again by the trace.
    EXPECT_EQ(Find(lines, "CreateSolidBrush") + 1, Find(lines, "SelectObject", HandleValue(win)));
    EXPECT_GE(Find(lines, "SetBkColor", HandleValue(mem)), 0);
    EXPECT_EQ(Find(lines, "CreateFontIndirectA") + 1, Find(lines, "SelectObject", HandleValue(mem)));
    // The pattern brush comes with a stand-in bitmap of its cell, freed right after.
    int cell = Find(lines, "#bitmap");
    ASSERT_GE(cell, 0);
    EXPECT_EQ(lines[static_cast<std::size_t>(cell + 1)]["op"], "CreatePatternBrush");
    EXPECT_EQ(lines[static_cast<std::size_t>(cell + 2)]["op"], "DeleteObject");

    std::ifstream in(path);
    TraceReplayer replayer;
    replayer.Run(in);
    EXPECT_EQ(replayer.ResultsChecked(), 2);
    EXPECT_FALSE(replayer.FirstMismatch().has_value()) << replayer.FirstMismatch()->Describe();
    ASSERT_EQ(replayer.Surfaces().size(), 3u);
    EXPECT_TRUE(SamePixels(*replayer.Surfaces()[0].pixels, *first));
    EXPECT_TRUE(SamePixels(*replayer.Surfaces()[2].pixels, *second));

    SelectObject(win, old);
    SelectObject(mem, oldBits);
    SelectObject(mem, oldFont);
    DeleteObject(font);
    DeleteObject(striped);
    DeleteObject(blue);
    DeleteObject(memBits);
    DeleteDC(mem);
    DeleteDC(win);
}

// A window DC released during tracing leaves its surface's #result just before the call that
// ends it, and one whose window went away (retargeted to no surface) is bound to none.
TEST_F(GdiTrace, WindowDcsEndedDuringTracingCarryTheirResultsWhereTheyEnd) {
    auto surface = Surface::Create(5, 5, PixelFormat::Bgrx32);
    HDC paint = brimlox::gdi::CreateSurfaceDC(surface.get(), POINT{0, 0}, RECT{0, 0, 5, 5});
    std::string path = TracePath("ended");
    ASSERT_TRUE(brimlox::gdi::TraceStart(path));
    RECT r{1, 1, 4, 4};
    FillRect(paint, &r, reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHT + 1));
    DeleteDC(paint);
    HDC gone = brimlox::gdi::CreateSurfaceDC(surface.get(), POINT{0, 0}, RECT{0, 0, 5, 5});
    SetPixel(gone, 0, 0, RGB(255, 0, 0));
    brimlox::gdi::RetargetSurfaceDC(gone, nullptr, POINT{}, RECT{});
    SetPixel(gone, 1, 0, RGB(255, 0, 0));
    brimlox::gdi::TraceStop();
    DeleteDC(gone);

    std::vector<Json> lines = ReadLines(path);
    int result = Find(lines, "#result");
    ASSERT_GE(result, 0);
    EXPECT_EQ(lines[static_cast<std::size_t>(result + 1)]["op"], "DeleteDC");
    EXPECT_EQ(Count(lines, "#result"), 1);  // the surface has no DC left when tracing stops
    EXPECT_EQ(Count(lines, "#surface"), 1);  // the second DC draws on the same pixels
    EXPECT_EQ(Count(lines, "#dc"), 3);
    EXPECT_EQ(lines[static_cast<std::size_t>(Find(lines, "#dc", HandleValue(gone), result + 2))]["surface"], 1);
    EXPECT_EQ(lines.back()["op"], "SetPixel");
    EXPECT_EQ(lines[lines.size() - 2]["op"], "#dc");
    EXPECT_EQ(lines[lines.size() - 2]["surface"], 0);

    std::ifstream in(path);
    TraceReplayer replayer;
    replayer.Run(in);
    EXPECT_EQ(replayer.ResultsChecked(), 1);
    EXPECT_FALSE(replayer.FirstMismatch().has_value());
    ASSERT_EQ(replayer.Surfaces().size(), 1u);
    EXPECT_TRUE(SamePixels(*replayer.Surfaces()[0].pixels, *surface));
    EXPECT_EQ(replayer.Surfaces()[0].pixels->Get(1, 0), surface->Get(1, 0));  // drawn nowhere
}

// Two DCs onto one surface, as a window's paint DC and a child control's own DC: what either
// draws shows through the other, each stays clipped as it was, and pixels changed without a
// GDI call are described again before the next call draws there.
TEST_F(GdiTrace, DcsOntoOneSurfaceShareItsPixels) {
    auto window = Surface::Create(30, 20, PixelFormat::Bgrx32);
    window->Clear(0xD4D0C8);
    HDC frame = brimlox::gdi::CreateSurfaceDC(window.get(), POINT{0, 0}, RECT{0, 0, 30, 20});
    HDC child = brimlox::gdi::CreateSurfaceDC(window.get(), POINT{10, 5}, RECT{10, 5, 20, 15});
    std::string path = TracePath("shared");
    ASSERT_TRUE(brimlox::gdi::TraceStart(path));
    RECT all{0, 0, 30, 20};
    FillRect(frame, &all, reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHT + 1));
    RECT huge{-50, -50, 100, 100};
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(child, &huge, blue);
    // The child inverts what the frame drew under it: only right if both share the pixels.
    RECT band{0, 12, 30, 16};
    FillRect(frame, &band, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    BitBlt(child, 0, 0, 10, 10, nullptr, 0, 0, DSTINVERT);
    window->Put(29, 19, 0x123456);  // as the screen composition does
    brimlox::gdi::TraceSurfaceChanged(*window);
    SetPixel(child, 9, 9, RGB(1, 2, 3));
    DeleteDC(child);
    brimlox::gdi::RetargetSurfaceDC(frame, window.get(), POINT{2, 2}, RECT{2, 2, 28, 18});
    MoveToEx(frame, -2, 15, nullptr);
    LineTo(frame, 40, 15);
    DeleteObject(blue);
    brimlox::gdi::TraceStop();

    std::vector<Json> lines = ReadLines(path);
    EXPECT_EQ(Count(lines, "#surface"), 2);  // once, and again after the change
    EXPECT_EQ(Count(lines, "#dc"), 3);       // both DCs, and the frame once more after it moved
    EXPECT_EQ(Count(lines, "#result"), 1);   // the frame still draws there when tracing stops
    int again = Find(lines, "#surface", 0, Find(lines, "#surface") + 1);
    EXPECT_EQ(lines[static_cast<std::size_t>(again)]["id"], 1);
    EXPECT_EQ(lines[static_cast<std::size_t>(again + 1)]["op"], "SetPixel");

    std::ifstream in(path);
    TraceReplayer replayer;
    replayer.Run(in);
    EXPECT_EQ(replayer.ResultsChecked(), 1);
    EXPECT_FALSE(replayer.FirstMismatch().has_value()) << replayer.FirstMismatch()->Describe();
    ASSERT_EQ(replayer.Surfaces().size(), 1u);
    const Surface& drawn = *replayer.Surfaces()[0].pixels;
    EXPECT_TRUE(SamePixels(drawn, *window));
    EXPECT_EQ(drawn.Get(10, 6), 0xFFFF00u);   // the child's blue, inverted
    EXPECT_EQ(drawn.Get(10, 12), 0x000000u);  // the frame's white, inverted by the child
    EXPECT_EQ(drawn.Get(9, 12), 0xFFFFFFu);   // the frame's white, outside the child
    EXPECT_EQ(drawn.Get(19, 14), 0x010203u);
    EXPECT_EQ(drawn.Get(29, 19), 0x123456u);
    DeleteDC(frame);
}

// A surface freed and a new one of the same size (as a window closed and another opened, most
// likely at the same address) are two surfaces: the second is described with its own pixels.
TEST_F(GdiTrace, ASurfaceMadeWhereAFreedOneWasIsDescribedAfresh) {
    std::string path = TracePath("reused");
    auto first = Surface::Create(8, 6, PixelFormat::Bgrx32);
    first->Clear(0x102030);
    const void* firstBits = first->Bits();
    ASSERT_TRUE(brimlox::gdi::TraceStart(path));
    HDC a = brimlox::gdi::CreateSurfaceDC(first.get(), POINT{0, 0}, RECT{0, 0, 8, 6});
    SetPixel(a, 1, 1, RGB(255, 0, 0));
    HDC keep = brimlox::gdi::CreateSurfaceDC(first.get(), POINT{0, 0}, RECT{0, 0, 8, 6});
    SetPixel(keep, 2, 2, RGB(0, 255, 0));
    brimlox::gdi::RetargetSurfaceDC(keep, nullptr, POINT{}, RECT{});  // its window goes away
    DeleteDC(a);
    first.reset();
    auto second = Surface::Create(8, 6, PixelFormat::Bgrx32);
    second->Clear(0x405060);
    HDC b = brimlox::gdi::CreateSurfaceDC(second.get(), POINT{0, 0}, RECT{0, 0, 8, 6});
    SetPixel(b, 3, 3, RGB(0, 0, 255));
    brimlox::gdi::TraceStop();

    std::vector<Json> lines = ReadLines(path);
    EXPECT_EQ(Count(lines, "#surface"), 2) << (second->Bits() == firstBits ? "same address" : "new address");
    std::ifstream in(path);
    TraceReplayer replayer;
    replayer.Run(in);
    EXPECT_EQ(replayer.ResultsChecked(), 2);
    EXPECT_FALSE(replayer.FirstMismatch().has_value()) << replayer.FirstMismatch()->Describe();
    ASSERT_EQ(replayer.Surfaces().size(), 2u);
    EXPECT_TRUE(SamePixels(*replayer.Surfaces()[1].pixels, *second));
    DeleteDC(keep);
    DeleteDC(b);
}

// Version 2 descriptions are checked before use: a DC on a surface never described, a clip
// that leaves its surface and surfaces of absurd size are refused with their line.
TEST_F(GdiTrace, MalformedSurfaceAndDcLinesAreRejectedWithTheirLine) {
    std::string head = Header();
    head.replace(head.find("\"version\":1"), 11, "\"version\":2");
    const std::string surface = R"({"op":"#surface","id":1,"width":2,"height":2,"pixels":"AAAAAAAAAAAAAAAAAAAAAA=="})" "\n";
    auto dc = [](const std::string& fields) { return R"({"op":"#dc","h":100,)" + fields + "}\n"; };
    struct Case {
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {head + dc(R"("surface":3,"origin":[0,0],"clip":[0,0,1,1])"), "line 2: #dc: surface 3 has no #surface line"},
        {head + surface + dc(R"("surface":1,"origin":[0,0],"clip":[0,0,3,2])"),
         "line 3: #dc: clip [0,0,3,2] is outside the 2x2 surface"},
        {head + surface + dc(R"("surface":1,"origin":[0,0],"clip":[1,1,0,2])"), "line 3: #dc: clip [1,1,0,2] is outside"},
        {head + surface + dc(R"("surface":0,"origin":[0,0],"clip":[0,0,1,1])"), "line 3: #dc: clip [0,0,1,1] is outside the 0x0"},
        {head + surface + dc(R"("surface":1,"clip":[0,0,1,1])"), "line 3: #dc: \"origin\" is missing"},
        {head + surface + dc(R"("surface":1,"origin":[0,0],"clip":[0,0,1])"), "line 3: #dc: \"clip\" is not a rectangle"},
        {head + surface + dc(R"("surface":1,"memory":1,"origin":[0,0],"clip":[0,0,1,1])"), "line 3: #dc: \"memory\" is not"},
        {head + surface + dc(R"("surface":0,"memory":true,"origin":[0,0],"clip":[0,0,0,0])"), "line 3: #dc: a memory DC needs"},
        {head + R"({"op":"#surface","id":1,"width":32768,"height":32768,"pixels":""})" "\n",
         "line 2: #surface: a surface of 32768x32768 pixels is larger than any"},
        {head + R"({"op":"#surface","id":1,"width":40000,"height":1,"pixels":""})" "\n", "line 2: #surface: \"width\" is 40000"},
        {head + R"({"op":"#surface","id":0,"width":1,"height":1,"pixels":""})" "\n", "line 2: #surface: \"id\" is 0"},
        {head + surface + R"({"op":"#surface","id":1,"width":1,"height":1,"pixels":"AAAAAA=="})" "\n",
         "line 3: #surface: surface 1 was 2x2, not 1x1"},
        {head + R"({"op":"#result","surface":4,"pixels":""})" "\n", "line 2: #result: surface 4 has no #surface"},
        {head + surface + R"({"op":"#result","surface":1,"pixels":"AAAA"})" "\n",
         "line 3: #result: \"pixels\" holds 3 bytes, but 2x2 needs 16"},
    };
    for (const Case& c : cases) {
        TraceReplayer replayer;
        std::string message = Replay(c.text, replayer);
        EXPECT_EQ(message.rfind(c.message, 0), 0u) << "got: " << message << "\nwanted: " << c.message;
    }
    // A replayed DeleteObject of a surface's bitmap, reached through a memory DC's previous
    // selection, cannot free pixels other DCs still draw on.
    TraceReplayer replayer;
    EXPECT_EQ(Replay(head + surface + dc(R"("surface":1,"memory":true,"origin":[0,0],"clip":[0,0,2,2])") +
                         R"({"op":"#dc","h":101,"surface":1,"origin":[1,0],"clip":[1,0,2,2]})" "\n"
                         R"({"op":"CreateBitmap","args":[2,2,1,32,null],"ret":7})" "\n"
                         R"({"op":"SelectObject","args":[100,7],"ret":8})" "\n"
                         R"({"op":"DeleteObject","args":[8],"ret":1})" "\n"
                         R"({"op":"SetPixel","args":[101,0,1,255],"ret":255})" "\n"
                         R"({"op":"#result","surface":1,"pixels":"AAAAAAAAAAAAAAAAAAD//w=="})" "\n",
                     replayer),
              "");
    EXPECT_EQ(replayer.ResultsChecked(), 1);
    EXPECT_FALSE(replayer.FirstMismatch().has_value()) << replayer.FirstMismatch()->Describe();
}

// Pens, lines, shapes, paths and edges drawn with tracing on replay to the same pixels.
TEST_F(GdiTrace, ShapesAndEdgesReplayToIdenticalPixels) {
    auto window = Surface::Create(48, 32, PixelFormat::Bgrx32);
    window->Clear(0xD4D0C8);
    HDC win = brimlox::gdi::CreateSurfaceDC(window.get(), POINT{0, 0}, RECT{0, 0, 48, 32});
    std::string path = TracePath("shapes");
    ASSERT_TRUE(brimlox::gdi::TraceStart(path));
    HPEN dashed = CreatePen(PS_DASH, 1, RGB(0, 0, 128));
    LOGBRUSH lb;
    lb.lbColor = RGB(200, 0, 0);
    HPEN wide = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT, 3, &lb, 0, nullptr);
    HBRUSH hatch = CreateHatchBrush(HS_BDIAGONAL, RGB(0, 100, 0));
    HGDIOBJ oldPen = SelectObject(win, dashed);
    HGDIOBJ oldBrush = SelectObject(win, hatch);
    Rectangle(win, 2, 2, 20, 14);
    MoveToEx(win, 22, 2, nullptr);
    LineTo(win, 46, 14);
    SelectObject(win, wide);
    SetROP2(win, R2_NOTXORPEN);
    const POINT triangle[] = {{4, 28}, {14, 16}, {24, 28}};
    Polygon(win, triangle, 3);
    const POINT zigzag[] = {{26, 18}, {30, 28}, {34, 18}, {38, 28}};
    Polyline(win, zigzag, 4);
    SetROP2(win, R2_COPYPEN);
    BeginPath(win);
    MoveToEx(win, 40, 18, nullptr);
    LineTo(win, 46, 22);
    LineTo(win, 40, 28);
    CloseFigure(win);
    EndPath(win);
    FillPath(win);
    RECT edge{2, 15, 12, 20};
    DrawEdge(win, &edge, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    SelectObject(win, oldPen);
    SelectObject(win, oldBrush);
    DeleteObject(dashed);
    DeleteObject(wide);
    DeleteObject(hatch);
    brimlox::gdi::TraceStop();

    std::ifstream in(path);
    TraceReplayer replayer;
    replayer.Run(in);
    EXPECT_EQ(replayer.ResultsChecked(), 1);
    EXPECT_FALSE(replayer.FirstMismatch().has_value()) << replayer.FirstMismatch()->Describe();
    ASSERT_EQ(replayer.Surfaces().size(), 1u);
    EXPECT_TRUE(SamePixels(*replayer.Surfaces()[0].pixels, *window));
    DeleteDC(win);
}
