// X11's headers define some everyday words as macros (None, Status, True, False, Bool,
// FillSolid, KeyPress). A header of ours that uses one of them as an ordinary name includes this file
// first and pop_x11_macros.h last, so that it compiles after <X11/Xlib.h> as well; the
// program's own code keeps the X11 meanings. No include guard: each use pushes again.
#pragma push_macro("None")
#pragma push_macro("Status")
#pragma push_macro("True")
#pragma push_macro("False")
#pragma push_macro("Bool")
#pragma push_macro("FillSolid")
#pragma push_macro("KeyPress")
#pragma push_macro("KeyRelease")
#undef None
#undef Status
#undef True
#undef False
#undef Bool
#undef FillSolid
#undef KeyPress
#undef KeyRelease
