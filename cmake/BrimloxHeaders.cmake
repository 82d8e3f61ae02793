# The public headers: every header of the library layers except the few that only the
# library's own sources include (they name SDL types or internal state). BRIMLOX_PUBLIC_HEADERS
# holds paths relative to the source root, which are also their include names.
file(GLOB_RECURSE brimlox_all_headers CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}
    ${PROJECT_SOURCE_DIR}/platform/*.h
    ${PROJECT_SOURCE_DIR}/foundation/*.h
    ${PROJECT_SOURCE_DIR}/drawing/*.h
    ${PROJECT_SOURCE_DIR}/menus/*.h
    ${PROJECT_SOURCE_DIR}/controls/*.h)
set(BRIMLOX_PUBLIC_HEADERS ${brimlox_all_headers})
list(FILTER BRIMLOX_PUBLIC_HEADERS EXCLUDE REGEX "_internal\\.h$")
list(REMOVE_ITEM BRIMLOX_PUBLIC_HEADERS platform/desktop/sdl_presenter.h)
