// Text calls in the drawing trace: recorded with their output parameters, and replayed to
// the same pixels.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/trace.h"
#include "platform/gdi/trace_replayer.h"
#include "support/gdi_test.h"

using brimlox::gdi::PixelFormat;
using brimlox::gdi::Surface;
using brimlox::gdi::replay::TraceReplayer;
using brimlox::test::GdiTest;
using Json = nlohmann::json;

class TextReplay : public GdiTest {};

TEST_F(TextReplay, TextCallsRecordOutputsAndReplayToIdenticalPixels) {
    auto window = Surface::Create(120, 60, PixelFormat::Bgrx32);
    window->Clear(0xFFFFFF);
    HDC win = brimlox::gdi::CreateSurfaceDC(window.get(), POINT{0, 0}, RECT{0, 0, 120, 60});
    std::string path = brimlox::test::OutputDir() + "/text.trace";
    ASSERT_TRUE(brimlox::gdi::TraceStart(path));
    LOGFONTA lf;
    lf.lfHeight = -13;
    lf.lfEscapement = 300;
    std::strcpy(lf.lfFaceName, "Tahoma");
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(win, font);
    SetTextAlign(win, TA_BASELINE);
    TextOutA(win, 4, 40, "Tilted", 6);
    SetTextAlign(win, TA_TOP);
    SelectObject(win, old);
    DeleteObject(font);
    RECT r{60, 2, 118, 58};
    DrawTextA(win, "&Wrapped words here", -1, &r, DT_WORDBREAK | DT_CENTER);
    RECT calc{0, 0, 10, 0};
    int height = DrawTextA(win, "Measure me", -1, &calc, DT_CALCRECT);
    SIZE extent{};
    GetTextExtentPoint32A(win, "Measure me", 10, &extent);
    INT dx[3] = {9, 9, 9};
    RECT clip{2, 44, 30, 58};
    ExtTextOutA(win, 2, 44, ETO_OPAQUE | ETO_CLIPPED, &clip, "abc", 3, dx);
    GrayStringA(win, nullptr, nullptr, reinterpret_cast<LPARAM>("Gray"), 4, 30, 44, 0, 0);
    brimlox::gdi::TraceStop();

    std::ifstream lines(path);
    std::string text;
    bool sawCalc = false, sawExtent = false;
    while (std::getline(lines, text)) {
        Json j = Json::parse(text);
        if (j["op"] == "DrawTextA" && j["args"][4] == DT_CALCRECT) {
            sawCalc = true;
            EXPECT_EQ(j["out"], Json::array({0, 0, calc.right, calc.bottom}));
            EXPECT_EQ(j["ret"], height);
        }
        if (j["op"] == "GetTextExtentPoint32A") {
            sawExtent = true;
            EXPECT_EQ(j["out"], Json::array({extent.cx, extent.cy}));
        }
    }
    EXPECT_TRUE(sawCalc);
    EXPECT_TRUE(sawExtent);

    std::ifstream in(path);
    TraceReplayer replayer;
    replayer.Run(in);
    ASSERT_EQ(replayer.Surfaces().size(), 1u);
    const Surface& replayed = *replayer.Surfaces()[0].pixels;
    int differing = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 120; ++x) differing += replayed.Get(x, y) != window->Get(x, y);
    EXPECT_EQ(differing, 0);
    EXPECT_FALSE(replayer.FirstMismatch().has_value());
    DeleteDC(win);
}

TEST_F(TextReplay, BadTextArgumentsAreRejectedWithTheirPosition) {
    std::string head = R"({"op":"#trace","version":1,"twips_per_pixel":15,"syscolors":[)";
    for (int i = 0; i < SYSCOLOR_COUNT; ++i) head += (i ? "," : "") + std::to_string(GetSysColor(i));
    head += "]}\n";
    struct Case {
        const char* line;
        const char* message;
    } cases[] = {
        {R"({"op":"TextOutA","args":[1,0,0,"ab",5],"ret":1})", "counts more characters"},
        {R"({"op":"CreateFontIndirectA","args":[{"lfHeight":1}],"ret":5})", "lfWidth"},
        {R"({"op":"DrawTextA","args":[1,"x",1,[0,0,1],0],"ret":1})", "rectangle"},
    };
    for (const Case& c : cases) {
        std::istringstream in(head + c.line + "\n");
        TraceReplayer replayer;
        std::string message;
        try {
            replayer.Run(in);
        } catch (const std::exception& e) {
            message = e.what();
        }
        EXPECT_NE(message.find(c.message), std::string::npos) << message;
        EXPECT_EQ(message.rfind("line 2: ", 0), 0u) << message;
    }
}
