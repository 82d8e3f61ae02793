# The two libraries, split along the layers:
#   Brimlox::Platform  libbrimlox-platform  platform/: software GDI and USER, desktop, shell, host
#   Brimlox::Brimlox   libbrimlox           foundation/, drawing/, menus/, controls/ (needs Platform)
# Only the platform's sources touch SDL2, FreeType, fontconfig, libpng and giflib, so those stay
# private; nlohmann_json appears in the property-bag and trace headers and is public.

if(BRIMLOX_SHARED)
    set(brimlox_library_kind SHARED)
else()
    set(brimlox_library_kind STATIC)
endif()
# While the major version is 0 every minor release may break the ABI.
if(PROJECT_VERSION_MAJOR EQUAL 0)
    set(BRIMLOX_SOVERSION ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
else()
    set(BRIMLOX_SOVERSION ${PROJECT_VERSION_MAJOR})
endif()

function(brimlox_library target output export_name)
    add_library(${target} ${brimlox_library_kind} ${ARGN})
    add_library(Brimlox::${export_name} ALIAS ${target})
    set_target_properties(${target} PROPERTIES
        OUTPUT_NAME ${output}
        EXPORT_NAME ${export_name}
        VERSION ${PROJECT_VERSION}
        SOVERSION ${BRIMLOX_SOVERSION}
        POSITION_INDEPENDENT_CODE ON)
    target_compile_features(${target} PUBLIC cxx_std_20)
    target_include_directories(${target} PUBLIC
        $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
        $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/brimlox>)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    # The library's calls to its own functions bind inside it: nothing is meant to interpose
    # them, so the compiler may inline across them and the linker calls them directly rather
    # than through the PLT (every GDI and USER call a control makes is such a call).
    target_compile_options(${target} PRIVATE -fno-semantic-interposition)
    if(BRIMLOX_SHARED)
        target_link_options(${target} PRIVATE -Wl,-Bsymbolic-functions)
    endif()
endfunction()

file(GLOB_RECURSE BRIMLOX_PLATFORM_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/platform/*.cpp)
brimlox_library(brimlox_platform brimlox-platform Platform ${BRIMLOX_PLATFORM_SOURCES})
target_link_libraries(brimlox_platform
    PUBLIC nlohmann_json::nlohmann_json Threads::Threads
    PRIVATE PNG::PNG Freetype::Freetype Fontconfig::Fontconfig SDL2::SDL2 GIF::GIF)

file(GLOB_RECURSE BRIMLOX_CONTROL_SOURCES CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/foundation/*.cpp
    ${PROJECT_SOURCE_DIR}/drawing/*.cpp
    ${PROJECT_SOURCE_DIR}/menus/*.cpp
    ${PROJECT_SOURCE_DIR}/controls/*.cpp)
brimlox_library(brimlox_lib brimlox Brimlox ${BRIMLOX_CONTROL_SOURCES})
target_link_libraries(brimlox_lib PUBLIC brimlox_platform)
# The version lives in project() above; the library reports it through brimlox::Version().
target_compile_definitions(brimlox_lib PRIVATE BRIMLOX_VERSION="${PROJECT_VERSION}")

# What the programs, tests and examples of this tree link: the whole library.
add_library(brimlox INTERFACE)
target_link_libraries(brimlox INTERFACE brimlox_lib)
