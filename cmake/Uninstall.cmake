# The uninstall target, as CMake projects conventionally have it: `cmake --build <build>
# --target uninstall` removes what the last `cmake --install` from that build put in place
# (the files of its install_manifest.txt), and the folders it made for them.
include(GNUInstallDirs)

# Every folder an install rule writes into, relative to the prefix. A new destination must be
# added here, or the uninstall leaves its empty folder behind (tests/packaging: the install
# and uninstall check finds that).
set(KELTO_INSTALL_DIRS
    ${CMAKE_INSTALL_BINDIR}
    ${CMAKE_INSTALL_MANDIR}/man1
    ${CMAKE_INSTALL_DOCDIR}
    ${CMAKE_INSTALL_DATADIR}/applications
    ${CMAKE_INSTALL_DATADIR}/metainfo
    ${CMAKE_INSTALL_DATADIR}/icons/hicolor/16x16/apps
    ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps
    ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
    ${CMAKE_INSTALL_DATADIR}/icons/HighContrast/32x32/apps)

# CPack installs into a staging folder of its own to build the package: nothing to note then.
set(_kelto_not_cpack "NOT \"\$ENV{DESTDIR}\" MATCHES \"/_CPack_Packages/\"")
install(CODE "
if(${_kelto_not_cpack})
    set(KELTO_INSTALL_DIRS \"${KELTO_INSTALL_DIRS}\")
    set(KELTO_UNINSTALL_DIRS_FILE \"${CMAKE_BINARY_DIR}/uninstall_dirs.txt\")
    include(\"${CMAKE_CURRENT_LIST_DIR}/record_install_dirs.cmake\")
endif()")

# The last install rule (kelto_record_installed_files, called at the end of the top-level
# CMakeLists.txt): the files installed, as install_manifest.txt lists them, kept where cpack
# does not write.
function(kelto_record_installed_files)
    install(CODE "
if(${_kelto_not_cpack})
    list(JOIN CMAKE_INSTALL_MANIFEST_FILES \"\\n\" _kelto_files)
    file(WRITE \"${CMAKE_BINARY_DIR}/uninstall_files.txt\" \"\${_kelto_files}\\n\")
endif()")
endfunction()

add_custom_target(uninstall
    COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR}
        -P ${CMAKE_CURRENT_LIST_DIR}/uninstall_script.cmake
    COMMENT "Removing what cmake --install put in place"
    VERBATIM)
