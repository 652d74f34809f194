# Runs at install time, before any file is copied: notes which of the folders the install
# writes into do not exist yet, so that the uninstall target removes those and only those.
# A folder that was there before (/usr/local/share/icons, say) is never recorded, and one
# recorded by an earlier install from this build stays recorded while it exists.
# Reads KELTO_INSTALL_DIRS (relative to the prefix) and KELTO_CREATED_DIRS_FILE.
set(_prefix "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(_created)
if(EXISTS "${KELTO_CREATED_DIRS_FILE}")
    file(STRINGS "${KELTO_CREATED_DIRS_FILE}" _earlier)
    foreach(_dir IN LISTS _earlier)
        if(IS_DIRECTORY "${_dir}")
            list(APPEND _created "${_dir}")
        endif()
    endforeach()
endif()
foreach(_relative IN LISTS KELTO_INSTALL_DIRS)
    # The folder and each parent below the prefix, the prefix itself included.
    set(_dir "${_prefix}/${_relative}")
    while(NOT _dir STREQUAL "" AND NOT _dir STREQUAL "/")
        if(NOT EXISTS "${_dir}")
            list(APPEND _created "${_dir}")
        endif()
        if(_dir STREQUAL _prefix)
            break()
        endif()
        get_filename_component(_dir "${_dir}" DIRECTORY)
    endwhile()
endforeach()
list(REMOVE_DUPLICATES _created)
list(JOIN _created "\n" _text)
file(WRITE "${KELTO_CREATED_DIRS_FILE}" "${_text}\n")
