// The public headers in one translation unit after <X11/Xlib.h>, <X11/Xmd.h> and <SDL2/SDL.h>,
// as a program that mixes them includes them. X11 keeps its own BOOL and None; the Windows
// calls, declared with WINBOOL, still link.
// GoogleTest, like much C++, does not survive X11's macros: it comes before them.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <string>
#include <type_traits>

#include <X11/Xlib.h>
#include <X11/Xmd.h>
#include <SDL2/SDL.h>

#include "all_public_headers.h"
#include "support/paths.h"

namespace {

TEST(PublicHeaders, CompileAfterX11AndSdlAndLeaveTheirNamesAlone) {
    static_assert(std::is_same_v<BOOL, CARD8>, "X11's 8-bit BOOL stays X11's");
    static_assert(std::is_same_v<WINBOOL, int>);
    EXPECT_EQ(None, 0L);
    EXPECT_EQ(True, 1);

    RECT r;
    EXPECT_NE(SetRect(&r, 1, 2, 4, 6), 0);
    EXPECT_FALSE(IsRectEmpty(&r));
    EXPECT_EQ(static_cast<int>(brimlox::host::StdPicture().Type()), 0) << "an empty picture";

    SDL_version linked;
    SDL_GetVersion(&linked);
    EXPECT_EQ(linked.major, 2);
}

// The libraries behind the platform stay behind it: no public header includes SDL, FreeType,
// fontconfig, libpng or giflib, or names one of their types (comments aside).
TEST(PublicHeaders, NameNoTypesOfTheLibrariesBehindThePlatform) {
    std::ifstream list(BRIMLOX_PUBLIC_HEADER_LIST);
    const std::regex foreign(
        R"(#\s*include\s*[<"](SDL|ft2build|freetype|fontconfig|png\.h|gif_lib)|\b(SDL_[A-Za-z]\w*|FT_[A-Z]\w*|png_\w+|Fc[A-Z]\w+|GifFileType)\b)");
    int headers = 0;
    for (std::string header; std::getline(list, header);) {
        if (header.empty()) continue;
        ++headers;
        std::ifstream in(brimlox::test::SourceDir() + "/" + header);
        ASSERT_TRUE(in) << header;
        int number = 0;
        for (std::string line; std::getline(in, line);) {
            ++number;
            const auto comment = line.find("//");
            if (comment != std::string::npos) line.erase(comment);
            EXPECT_FALSE(std::regex_search(line, foreign)) << header << ":" << number << ": " << line;
        }
    }
    EXPECT_GT(headers, 100);
}

}  // namespace
