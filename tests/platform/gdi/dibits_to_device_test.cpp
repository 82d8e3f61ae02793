// SetDIBitsToDevice: bands of scan lines, source offsets and layouts against the record Windows
// (as wine implements it) gave for the same calls (tools/wine/run_dibits_to_device_probe.sh),
// against a DIB section blitted onto a clipped window DC, and through a trace and its replay.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/gdi/dc.h"
#include "platform/gdi/gdi.h"
#include "platform/gdi/handles.h"
#include "platform/gdi/trace.h"
#include "platform/gdi/trace_base64.h"
#include "platform/gdi/trace_replayer.h"
#include "support/gdi_test.h"
#include "support/paths.h"
#include "wine_record.h"

using namespace brimlox::gdi;
#include "dibits_to_device_cases.h"

namespace {


// A 7 x 5 32-bit DIB whose pixels all differ, in memory order.
struct Picture {
    static constexpr int kWidth = 7, kHeight = 5;
    BITMAPINFO info{};
    std::vector<std::uint32_t> bits;

    explicit Picture(bool topDown) : bits(kWidth * kHeight) {
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = kWidth;
        info.bmiHeader.biHeight = topDown ? -kHeight : kHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        for (std::size_t i = 0; i < bits.size(); ++i) bits[i] = 0x101010u * static_cast<std::uint32_t>(i + 1);
    }
};

}  // namespace

TEST(DibitsToDevice, CopiesBandsAndLayoutsAsWindowsDoes) {
    const std::string record = brimlox::test::ReadWineRecord("dibits_to_device_wine.txt");
    ASSERT_FALSE(record.empty());
    const std::size_t live = HandleTable::Instance().LiveCount();
    for (const auto& c : dibits_to_device_cases::kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(dibits_to_device_cases::Run(c), brimlox::test::WineRecordBlock(record, c.name));
    }
    EXPECT_EQ(dibits_to_device_cases::RunRefusals(), brimlox::test::WineRecordRefusals(record));
    EXPECT_EQ(HandleTable::Instance().LiveCount(), live);
}

// A whole DIB given to SetDIBitsToDevice lands where a DIB section of the same bits lands when
// blitted: source row (from the top) = height - (ySrc + h). Destinations reach past the window's
// clip on every side. (The record above checks what the call returns.)
TEST(DibitsToDevice, PaintsWhatABlitOfTheSameDibSectionPaints) {
    for (bool topDown : {false, true}) {
        Picture picture(topDown);
        void* sectionBits = nullptr;
        HBITMAP section = CreateDIBSection(nullptr, &picture.info, DIB_RGB_COLORS, &sectionBits, nullptr, 0);
        ASSERT_NE(section, nullptr);
        std::memcpy(sectionBits, picture.bits.data(), picture.bits.size() * 4);
        HDC memory = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(memory, section);

        auto viaCall = Surface::CreateFilled(12, 10, PixelFormat::Bgrx32, 0xABCDEF);
        auto viaBlit = Surface::CreateFilled(12, 10, PixelFormat::Bgrx32, 0xABCDEF);
        const RECT clip{2, 1, 10, 8};
        HDC callDc = CreateSurfaceDC(viaCall.get(), POINT{1, 1}, clip);
        HDC blitDc = CreateSurfaceDC(viaBlit.get(), POINT{1, 1}, clip);
        for (int xd : {-3, 0, 4, 8})
            for (int yd : {-2, 0, 3, 7})
                for (int xs : {-1, 0, 2})
                    for (int ys : {-1, 0, 2})
                        for (int w : {3, 7, 9})
                            for (int h : {2, 5, 6}) {
                                SCOPED_TRACE(::testing::Message() << "topDown " << topDown << " dest " << xd << ","
                                                                  << yd << " src " << xs << "," << ys << " size "
                                                                  << w << "x" << h);
                                SetDIBitsToDevice(callDc, xd, yd, w, h, xs, ys, 0, Picture::kHeight,
                                                  picture.bits.data(), &picture.info, DIB_RGB_COLORS);
                                BitBlt(blitDc, xd, yd, w, h, memory, xs, Picture::kHeight - (ys + h), SRCCOPY);
                                ASSERT_EQ(std::memcmp(viaCall->Bits(), viaBlit->Bits(), viaCall->ByteSize()), 0);
                            }
        DeleteDC(callDc);
        DeleteDC(blitDc);
        SelectObject(memory, old);
        DeleteDC(memory);
        DeleteObject(section);
    }
}

// Recorded calls carry their bits and header; the replay paints the same pixels, and a trace
// whose bits are shorter than the call reads is refused, naming the argument.
TEST(DibitsToDevice, TracesAndReplaysWithItsBits) {
    auto window = Surface::CreateFilled(16, 12, PixelFormat::Bgrx32, 0x203040);
    HDC dc = CreateSurfaceDC(window.get(), POINT{0, 0}, RECT{0, 0, 16, 12});
    const std::string path = brimlox::test::OutputDir() + "/dibits_to_device.trace";
    ASSERT_TRUE(TraceStart(path));
    Picture bottomUp(false), topDown(true);
    SetDIBitsToDevice(dc, 1, 1, 7, 5, 0, 0, 0, 5, bottomUp.bits.data(), &bottomUp.info, DIB_RGB_COLORS);
    // A band of two scans (1 and 2) of the top-down picture, shifted.
    SetDIBitsToDevice(dc, 8, 6, 7, 5, 0, 0, 1, 2, topDown.bits.data() + 2 * 7, &topDown.info, DIB_RGB_COLORS);
    TraceStop();

    std::ifstream in(path);
    replay::TraceReplayer replayer;
    replayer.Run(in);
    ASSERT_EQ(replayer.Surfaces().size(), 1u);
    EXPECT_EQ(std::memcmp(replayer.Surfaces()[0].pixels->Bits(), window->Bits(), window->ByteSize()), 0);
    EXPECT_FALSE(replayer.FirstMismatch().has_value());

    // The second call's bits cut to one row of the two it reads.
    std::ifstream again(path);
    std::string text, line;
    int calls = 0;
    while (std::getline(again, line)) {
        nlohmann::json j = nlohmann::json::parse(line);
        if (j["op"] == "SetDIBitsToDevice" && ++calls == 2) {
            std::vector<std::uint8_t> bits = *DecodeBase64(j["args"][9].get<std::string>());
            ASSERT_EQ(bits.size(), 56u);
            std::string shorter;
            AppendBase64(shorter, bits.data(), 28);
            j["args"][9] = shorter;
        }
        text += j.dump() + "\n";
    }
    ASSERT_EQ(calls, 2);
    std::istringstream cut(text);
    replay::TraceReplayer refused;
    try {
        refused.Run(cut);
        ADD_FAILURE() << "short bits were replayed";
    } catch (const replay::TraceFormatError& e) {
        EXPECT_NE(std::string(e.what()).find("argument 10 holds 28 bytes where 56 are needed"), std::string::npos)
            << e.what();
    }
    DeleteDC(dc);
}
