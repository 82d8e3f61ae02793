// The other order: the public headers first, X11 after them. Xmd.h then needs BOOL to itself,
// which BRIMLOX_NO_BOOL asks for; everything else is unchanged.
#define BRIMLOX_NO_BOOL
#include "all_public_headers.h"

// GoogleTest, like much C++, does not survive X11's macros: it comes before them.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xmd.h>
#include <SDL2/SDL.h>

namespace {

TEST(PublicHeaders, CompileBeforeX11WhenBoolIsLeftToIt) {
    static_assert(sizeof(BOOL) == 1, "X11's BOOL");
    RECT r{0, 0, 3, 3};
    WINBOOL inside = PtInRect(&r, POINT{1, 1});
    EXPECT_NE(inside, 0);
    EXPECT_EQ(brimlox::host::StdPicture().Type(), brimlox::host::PictureType{});
}

}  // namespace
