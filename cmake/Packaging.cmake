# Desktop integration: version record, icons, desktop entry, AppStream metainfo, .deb.

# The version is written "1.00": major, a dot, and the minor number in two digits.
# Build it from the parts so that a CMake that normalises "1.00" to "1.0" changes nothing.
math(EXPR _kelto_minor "${PROJECT_VERSION_MINOR} + 0")
if(_kelto_minor LESS 10)
    set(_kelto_minor "0${_kelto_minor}")
endif()
set(KELTO_VERSION_TEXT "${PROJECT_VERSION_MAJOR}.${_kelto_minor}")
set(KELTO_PRODUCT_NAME "KELTO")
set(KELTO_INTERNAL_NAME "KELTO1")
set(KELTO_ORIGINAL_FILENAME "KELTO1.exe")
set(KELTO_APP_ID "io.kelto.viewer")
set(KELTO_RELEASE_DATE "2026-12-08" CACHE STRING "Release date recorded in the AppStream metainfo")

# The version record inside the executable.
target_sources(kelto PRIVATE ${CMAKE_SOURCE_DIR}/src/app/version_record.cpp)
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/app/version_record.cpp
    TARGET_DIRECTORY kelto
    PROPERTIES COMPILE_DEFINITIONS
        "KELTO_FILE_VERSION=\"${KELTO_VERSION_TEXT}\";KELTO_PRODUCT_VERSION=\"${KELTO_VERSION_TEXT}\";KELTO_PRODUCT_NAME=\"${KELTO_PRODUCT_NAME}\";KELTO_INTERNAL_NAME=\"${KELTO_INTERNAL_NAME}\";KELTO_ORIGINAL_FILENAME=\"${KELTO_ORIGINAL_FILENAME}\"")

# Icons: the pixel art is kept as XPM text and turned into PNG at build time.
add_executable(kelto_xpm_to_png ${CMAKE_SOURCE_DIR}/packaging/icon_tool/xpm_to_png.cpp)
target_link_libraries(kelto_xpm_to_png PRIVATE Qt6::Gui)

set(KELTO_ICON_DIR ${CMAKE_BINARY_DIR}/packaging/icons)
set(_kelto_icon_pngs)
foreach(_icon kelto-16 kelto-32 kelto-32-mono)
    set(_png ${KELTO_ICON_DIR}/${_icon}.png)
    add_custom_command(OUTPUT ${_png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${KELTO_ICON_DIR}
        COMMAND kelto_xpm_to_png ${CMAKE_SOURCE_DIR}/packaging/icons/${_icon}.xpm ${_png}
        DEPENDS kelto_xpm_to_png ${CMAKE_SOURCE_DIR}/packaging/icons/${_icon}.xpm
        COMMENT "Drawing icon ${_icon}.png"
        VERBATIM)
    list(APPEND _kelto_icon_pngs ${_png})
endforeach()
add_custom_target(kelto_icons ALL DEPENDS ${_kelto_icon_pngs})

configure_file(${CMAKE_SOURCE_DIR}/packaging/${KELTO_APP_ID}.metainfo.xml.in
    ${CMAKE_BINARY_DIR}/packaging/${KELTO_APP_ID}.metainfo.xml @ONLY)

# The manual page and the Debian changelog are installed gzipped, as Debian wants them:
# -9 for the smallest file, -n so that no name or time stamp makes two builds differ.
find_program(KELTO_GZIP gzip REQUIRED)
set(KELTO_MAN_PAGE_GZ ${CMAKE_BINARY_DIR}/packaging/kelto.1.gz)
set(KELTO_CHANGELOG_GZ ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
foreach(_pair "kelto.1|${KELTO_MAN_PAGE_GZ}" "changelog|${KELTO_CHANGELOG_GZ}")
    string(REPLACE "|" ";" _pair "${_pair}")
    list(GET _pair 0 _source)
    list(GET _pair 1 _gz)
    add_custom_command(OUTPUT ${_gz}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/packaging
        COMMAND ${KELTO_GZIP} -9n -c ${CMAKE_SOURCE_DIR}/packaging/${_source} > ${_gz}
        DEPENDS ${CMAKE_SOURCE_DIR}/packaging/${_source}
        COMMENT "Compressing ${_source}")
endforeach()
add_custom_target(kelto_docs ALL DEPENDS ${KELTO_MAN_PAGE_GZ} ${KELTO_CHANGELOG_GZ})

include(GNUInstallDirs)
install(FILES ${KELTO_MAN_PAGE_GZ} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${KELTO_CHANGELOG_GZ}
    DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/kelto.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${KELTO_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${KELTO_ICON_DIR}/kelto-16.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/16x16/apps RENAME kelto.png)
install(FILES ${KELTO_ICON_DIR}/kelto-32.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps RENAME kelto.png)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/kelto.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The black-and-white rendering goes to the high-contrast theme, the one place
# a desktop looks for a two-colour version of an application icon.
install(FILES ${KELTO_ICON_DIR}/kelto-32-mono.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/HighContrast/32x32/apps RENAME kelto.png)

# Debian package: kelto_1.00_amd64.deb.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "kelto")
set(CPACK_PACKAGE_VERSION "${KELTO_VERSION_TEXT}")
set(CPACK_PACKAGE_VENDOR "KELTO")
# Debian's form: a synopsis that does not repeat the package name, and an extended
# description in lines that fit 80 columns.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "animation viewer of a cam and valve mechanism")
set(CPACK_PACKAGE_DESCRIPTION
    "KELTO Valve Control shows a cam with one lobe turning inside an outer ring;\n\
the lobe pushes a follower down and the ring brings it back. One fixed window\n\
turns the cam through 18 frames of 20 degrees in an endless loop.\n\
The keyboard runs it forward or backward, stops it or steps it one frame at a\n\
time; the mouse pointer sets the pace. ESC or a double-click quits.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
# A cache entry of its own: a build tree configured earlier may still cache an older
# CPACK_DEBIAN_PACKAGE_MAINTAINER, which the plain variable below hides.
set(KELTO_DEBIAN_MAINTAINER "KELTO developers <maintainers@kelto.io>" CACHE STRING
    "Maintainer field of the .deb")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KELTO_DEBIAN_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION "education")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# Library dependencies are read from the executable; the platform plugins are not linked
# but the window cannot open without them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Qt's Wayland plugin: with it the window runs natively in a Wayland session; without it Qt
# falls back to X11 through Xwayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
include(CPack)
