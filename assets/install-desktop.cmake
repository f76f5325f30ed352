# Runs at install time: the desktop entry starts the program by its full name
# (a prefix's bin need not be on the session's PATH) in the folder that holds
# the shipped database, and both are known only once the prefix is
# (cmake --install --prefix, or the package's /usr).
# In: desktop_in, desktop_appdir, desktop_bindir and desktop_datadir (relative
# to the prefix or absolute), staging_dir.
foreach(dir appdir bindir datadir)
    set(${dir} "${desktop_${dir}}")
    if(NOT IS_ABSOLUTE "${${dir}}")
        set(${dir} "${CMAKE_INSTALL_PREFIX}/${${dir}}")
    endif()
endforeach()
# A desktop entry's strings escape the backslash; Exec also quotes a program
# name holding anything but the plainest characters, escaping " ` $ and \.
string(REPLACE "\\" "\\\\" VORLANE_DATA_DIR "${datadir}")
set(program "${bindir}/vorlane")
if(NOT program MATCHES "^[A-Za-z0-9/._+-]+$")
    string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" program "${program}")
    set(program "\"${program}\"")
endif()
string(REPLACE "\\" "\\\\" VORLANE_PROGRAM "${program}")
# One staging file per destination, so installs side by side do not meet.
string(SHA1 key "$ENV{DESTDIR}|${CMAKE_INSTALL_PREFIX}")
set(staged "${staging_dir}/${key}/vorlane.desktop")
configure_file("${desktop_in}" "${staged}" @ONLY)
file(INSTALL DESTINATION "${appdir}" TYPE FILE FILES "${staged}")
