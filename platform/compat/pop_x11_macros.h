// The end of a header that began with push_x11_macros.h: X11's macros as they were.
#pragma pop_macro("None")
#pragma pop_macro("Status")
#pragma pop_macro("True")
#pragma pop_macro("False")
#pragma pop_macro("Bool")
#pragma pop_macro("FillSolid")
#pragma pop_macro("KeyPress")
#pragma pop_macro("KeyRelease")
