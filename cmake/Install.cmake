# What `cmake --install` and the Debian package put on a system: the program, its
# manual page, its desktop entry (which opens text files), its icon as SVG and as 48
# and 256 px PNGs in the hicolor theme, and the AppStream metainfo that software
# centres show.
include(GNUInstallDirs)

set(ORVELLA_APP_ID example.velmora.orvella)
set(ORVELLA_ICON_SVG ${PROJECT_SOURCE_DIR}/resources/orvella.svg)

install(TARGETS orvella RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES resources/orvella.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/${ORVELLA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${ORVELLA_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The user guide the program shows under Help > Orvella Help, also readable in a browser.
install(FILES resources/orvella-help.html DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orvella)

# The manual page (docs/orvella.1) goes in gzipped at the highest level and without a
# name or time stamp in the header (-9n), as Debian wants manual pages packed.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(ORVELLA_MANPAGE ${PROJECT_BINARY_DIR}/man/orvella.1.gz)
add_custom_command(OUTPUT ${ORVELLA_MANPAGE}
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/docs/orvella.1 ${PROJECT_BINARY_DIR}/man/orvella.1
  COMMAND ${GZIP_PROGRAM} -9nf ${PROJECT_BINARY_DIR}/man/orvella.1
  DEPENDS ${PROJECT_SOURCE_DIR}/docs/orvella.1
  COMMENT "Packing the manual page"
  VERBATIM)
add_custom_target(orvella_manpage ALL DEPENDS ${ORVELLA_MANPAGE})
install(FILES ${ORVELLA_MANPAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The PNG icons are drawn from the SVG at build time (rsvg-convert, from librsvg2-bin).
find_program(RSVG_CONVERT rsvg-convert)
if(RSVG_CONVERT)
  set(icon_files)
  foreach(size 48 256)
    set(icon ${PROJECT_BINARY_DIR}/icons/${size}x${size}/orvella.png)
    add_custom_command(OUTPUT ${icon}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/icons/${size}x${size}
      COMMAND ${RSVG_CONVERT} --width ${size} --height ${size} --output ${icon} ${ORVELLA_ICON_SVG}
      DEPENDS ${ORVELLA_ICON_SVG}
      COMMENT "Drawing the ${size} px icon"
      VERBATIM)
    install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    list(APPEND icon_files ${icon})
  endforeach()
  add_custom_target(orvella_icons ALL DEPENDS ${icon_files})
else()
  message(WARNING "rsvg-convert (librsvg2-bin) not found: the 48 and 256 px icons are not installed")
endif()

# The package's copyright file, its Debian changelog (gzipped as the manual page is)
# and what lintian is told about the package.
set(ORVELLA_DEB_RELEASE 1)
set(ORVELLA_DEB_VERSION ${PROJECT_VERSION}-${ORVELLA_DEB_RELEASE})
set(ORVELLA_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/orvella)
configure_file(packaging/changelog.in ${PROJECT_BINARY_DIR}/packaging/changelog.Debian @ONLY)
set(ORVELLA_CHANGELOG ${PROJECT_BINARY_DIR}/packaging/changelog.Debian.gz)
add_custom_command(OUTPUT ${ORVELLA_CHANGELOG}
  COMMAND ${GZIP_PROGRAM} -9nkf ${PROJECT_BINARY_DIR}/packaging/changelog.Debian
  DEPENDS ${PROJECT_BINARY_DIR}/packaging/changelog.Debian
  COMMENT "Packing the Debian changelog"
  VERBATIM)
add_custom_target(orvella_changelog ALL DEPENDS ${ORVELLA_CHANGELOG})
install(FILES packaging/copyright ${ORVELLA_CHANGELOG} DESTINATION ${ORVELLA_DOCDIR})
install(FILES packaging/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME orvella)

# `cmake --build build --target package`: a .deb of the above, installed under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvella)
set(CPACK_PACKAGE_VENDOR "Velmora")
set(CPACK_PACKAGE_CONTACT "Team Velmora <support@velmora.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Sort lists of names by last name")
# Each line within 80 columns, as Debian wants package descriptions.
set(CPACK_PACKAGE_DESCRIPTION
  "Orvella sorts lists of personal names by last name, by first name, or by\n\
last name stepping over suffixes such as Jr. or Ph.D. Names are typed, loaded\n\
from text files or taken from samples; the results are saved as text, copied\n\
to the clipboard or opened in a spreadsheet.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${ORVELLA_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON) # the Qt, libxlsxwriter and xcb libraries it links
# The window icon is an SVG, which Qt draws through the plugin of libqt6svg6. The
# window's Arial text is drawn in Liberation Sans, its metric twin.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, fonts-liberation2 | fonts-liberation")
# In a Wayland session the window goes to the compositor through Qt's Wayland plugin;
# without it Qt falls back to X11 (XWayland).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libreoffice-calc | gnumeric") # "Save Results As Excel File"
include(CPack)
