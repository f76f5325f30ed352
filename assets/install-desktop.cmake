# Runs at install time: the desktop entry starts the program in the folder
# that holds the shipped database, and that folder is known only once the
# prefix is (cmake --install --prefix, or the package's /usr).
# In: desktop_in, desktop_appdir and desktop_datadir (relative to the prefix
# or absolute), staging_dir.
foreach(dir appdir datadir)
    set(${dir} "${desktop_${dir}}")
    if(NOT IS_ABSOLUTE "${${dir}}")
        set(${dir} "${CMAKE_INSTALL_PREFIX}/${${dir}}")
    endif()
endforeach()
set(VORLANE_DATA_DIR "${datadir}")
# One staging file per destination, so installs side by side do not meet.
string(SHA1 key "$ENV{DESTDIR}|${CMAKE_INSTALL_PREFIX}")
set(staged "${staging_dir}/${key}/vorlane.desktop")
configure_file("${desktop_in}" "${staged}" @ONLY)
file(INSTALL DESTINATION "${appdir}" TYPE FILE FILES "${staged}")
