# Install rules: headers under include/brimlox/ (included as "platform/host/form.h",
# "controls/command/command.h"), the libraries, the two programs, the gallery's forms,
# BrimloxConfig.cmake with its version file, and brimlox.pc.

include(cmake/BrimloxHeaders.cmake)
foreach(header ${BRIMLOX_PUBLIC_HEADERS})
    get_filename_component(dir ${header} DIRECTORY)
    install(FILES ${PROJECT_SOURCE_DIR}/${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/brimlox/${dir}
            COMPONENT Development)
endforeach()

install(TARGETS brimlox_platform brimlox_lib EXPORT BrimloxTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Runtime NAMELINK_COMPONENT Development
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/brimlox)
if(BRIMLOX_BUILD_APPS)
    install(TARGETS brimlox-cli brimlox-gallery RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Runtime)
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/forms/ DESTINATION ${CMAKE_INSTALL_DATADIR}/brimlox/forms
            COMPONENT Runtime)
endif()

set(BRIMLOX_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Brimlox)
install(EXPORT BrimloxTargets NAMESPACE Brimlox:: DESTINATION ${BRIMLOX_CMAKE_DIR} COMPONENT Development)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/BrimloxConfig.cmake.in
    ${PROJECT_BINARY_DIR}/BrimloxConfig.cmake INSTALL_DESTINATION ${BRIMLOX_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/BrimloxConfigVersion.cmake
    VERSION ${PROJECT_VERSION} COMPATIBILITY SameMinorVersion)
# find_package(brimlox) looks for the lower-case file names; they forward to the others.
file(WRITE ${PROJECT_BINARY_DIR}/brimlox-config.cmake "include(\"\${CMAKE_CURRENT_LIST_DIR}/BrimloxConfig.cmake\")\n")
file(WRITE ${PROJECT_BINARY_DIR}/brimlox-config-version.cmake
    "include(\"\${CMAKE_CURRENT_LIST_DIR}/BrimloxConfigVersion.cmake\")\n")
install(FILES ${PROJECT_BINARY_DIR}/BrimloxConfig.cmake ${PROJECT_BINARY_DIR}/BrimloxConfigVersion.cmake
    ${PROJECT_BINARY_DIR}/brimlox-config.cmake ${PROJECT_BINARY_DIR}/brimlox-config-version.cmake
    DESTINATION ${BRIMLOX_CMAKE_DIR} COMPONENT Development)

# pkg-config: a shared build links only our two libraries into a program; a static one also
# needs the platform's own dependencies on the link line.
set(BRIMLOX_PC_DEPENDENCIES "libpng freetype2 fontconfig sdl2 libgif")
if(BRIMLOX_SHARED)
    set(BRIMLOX_PC_REQUIRES "nlohmann_json")
    set(BRIMLOX_PC_REQUIRES_PRIVATE "${BRIMLOX_PC_DEPENDENCIES}")
    set(BRIMLOX_PC_LIBS "")
    set(BRIMLOX_PC_LIBS_PRIVATE "-pthread")
else()
    set(BRIMLOX_PC_REQUIRES "nlohmann_json ${BRIMLOX_PC_DEPENDENCIES}")
    set(BRIMLOX_PC_REQUIRES_PRIVATE "")
    set(BRIMLOX_PC_LIBS "-pthread")
    set(BRIMLOX_PC_LIBS_PRIVATE "")
endif()
# The prefix is found from the .pc file's own place, so an installation moved elsewhere (or made
# with cmake --install --prefix) still works.
file(RELATIVE_PATH BRIMLOX_PC_TO_PREFIX "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
string(REGEX REPLACE "/$" "" BRIMLOX_PC_TO_PREFIX "${BRIMLOX_PC_TO_PREFIX}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/brimlox.pc.in ${PROJECT_BINARY_DIR}/brimlox.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/brimlox.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT Development)
