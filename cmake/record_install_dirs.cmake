# Runs at install time, before any file is copied: notes which of the folders the install
# writes into do not exist yet, so that the uninstall target removes those and only those.
# A folder that was there before (/usr/local/share/icons, say) is never noted, and one noted
# by an earlier install from this build stays noted while it exists. Paths are noted without
# DESTDIR, as install_manifest.txt has them.
# Reads KELTO_INSTALL_DIRS (relative to the prefix) and KELTO_UNINSTALL_DIRS_FILE.
set(_created)
if(EXISTS "${KELTO_UNINSTALL_DIRS_FILE}")
    file(STRINGS "${KELTO_UNINSTALL_DIRS_FILE}" _earlier)
    foreach(_dir IN LISTS _earlier)
        if(IS_DIRECTORY "$ENV{DESTDIR}${_dir}")
            list(APPEND _created "${_dir}")
        endif()
    endforeach()
endif()
foreach(_relative IN LISTS KELTO_INSTALL_DIRS)
    # The folder and each parent up to the prefix, the prefix itself included.
    set(_dir "${CMAKE_INSTALL_PREFIX}/${_relative}")
    while(NOT _dir STREQUAL "" AND NOT _dir STREQUAL "/")
        if(NOT EXISTS "$ENV{DESTDIR}${_dir}")
            list(APPEND _created "${_dir}")
        endif()
        if(_dir STREQUAL CMAKE_INSTALL_PREFIX)
            break()
        endif()
        get_filename_component(_dir "${_dir}" DIRECTORY)
    endwhile()
endforeach()
list(REMOVE_DUPLICATES _created)
list(JOIN _created "\n" _text)
file(WRITE "${KELTO_UNINSTALL_DIRS_FILE}" "${_text}\n")
