# Run by the install step: writes the files that name installed programs by their full path for
# the prefix being installed to, then installs them (DESTDIR applies as to every other file).
set(KORVANE_PREFIX "${CMAKE_INSTALL_PREFIX}")
configure_file(${KORVANE_TEMPLATES}/korvanewb.eng.in ${KORVANE_WRITTEN}/korvanewb.eng @ONLY)
configure_file(${KORVANE_TEMPLATES}/korvane3d.desktop.in ${KORVANE_WRITTEN}/korvane3d.desktop @ONLY)
file(INSTALL ${KORVANE_WRITTEN}/korvanewb.eng
     DESTINATION "${CMAKE_INSTALL_PREFIX}/share/games/plugins/xboard")
file(INSTALL ${KORVANE_WRITTEN}/korvane3d.desktop
     DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications")
