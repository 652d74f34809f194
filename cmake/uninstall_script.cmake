# The uninstall target: removes every file of the last `cmake --install` from this build, then
# the folders that install made, once they are empty.
# Usage: cmake -DBUILD_DIR=<build> -P uninstall_script.cmake
#
# The files are those of install_manifest.txt as that install wrote it. cpack rewrites
# install_manifest.txt with the package's own files (/usr/bin/kelto...), so the install keeps
# its own copy, uninstall_files.txt; removing the package's list would break the package
# installed from it.
set(_files_file "${BUILD_DIR}/uninstall_files.txt")
set(_dirs_file "${BUILD_DIR}/uninstall_dirs.txt")
if(NOT EXISTS "${_files_file}")
    message(STATUS "Nothing to uninstall: no cmake --install from ${BUILD_DIR} since the last uninstall")
    return()
endif()
file(STRINGS "${_files_file}" _files)
foreach(_file IN LISTS _files)
    set(_file "$ENV{DESTDIR}${_file}")
    if(EXISTS "${_file}" OR IS_SYMLINK "${_file}")
        message(STATUS "Removing ${_file}")
        file(REMOVE "${_file}")
        if(EXISTS "${_file}")
            message(FATAL_ERROR "could not remove ${_file}")
        endif()
    endif()
endforeach()
file(REMOVE "${_files_file}")

set(_kept)
if(EXISTS "${_dirs_file}")
    file(STRINGS "${_dirs_file}" _dirs)
    # Deepest first, so that a folder is empty once its own folders are gone.
    list(SORT _dirs ORDER DESCENDING)
    foreach(_dir IN LISTS _dirs)
        set(_path "$ENV{DESTDIR}${_dir}")
        if(NOT IS_DIRECTORY "${_path}")
            continue()
        endif()
        file(GLOB _left LIST_DIRECTORIES true "${_path}/*" "${_path}/.*")
        if(_left)
            # Something else has put files there since: the folder is shared now.
            message(STATUS "Keeping ${_path}/ (not empty)")
            list(APPEND _kept "${_dir}")
        else()
            message(STATUS "Removing ${_path}/")
            file(REMOVE_RECURSE "${_path}")
        endif()
    endforeach()
endif()
if(_kept)
    list(JOIN _kept "\n" _text)
    file(WRITE "${_dirs_file}" "${_text}\n")
else()
    file(REMOVE "${_dirs_file}")
endif()
