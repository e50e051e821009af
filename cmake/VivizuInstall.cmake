# What `cmake --install` puts where, under one prefix:
#   bin/                      vivizu, vivizu-cli
#   lib/vivizu/               the preview module libvivizu-media.so
#   share/vivizu/             language files (Languages/*.isl), marker bitmaps
#   share/applications/       vivizu.desktop, the menu entry
#   share/icons/hicolor/      the application icon, 16 to 256 pixels and scalable
#   share/metainfo/           the AppStream description
#   share/man/man1/           vivizu.1, vivizu-cli.1
#   share/doc/vivizu/         LICENSE, README.md
# The programs look for their files beside themselves first, then in
# ../share/vivizu and ../lib/vivizu, so the same layout works under any
# prefix. `cpack` (make package) turns it into a Debian package under /usr.

set(VIVIZU_APP_ID "org.vivizu.Vivizu" CACHE STRING "AppStream id of the program")

set(_src ${CMAKE_SOURCE_DIR})
install(TARGETS vivizu-cli RUNTIME DESTINATION bin)
if(TARGET vivizu-media)
  install(TARGETS vivizu-media LIBRARY DESTINATION lib/vivizu)
endif()

if(VIVIZU_GUI)
  install(TARGETS vivizu RUNTIME DESTINATION bin)
  file(GLOB _markers ${_src}/resources/markers/*.bmp)
  install(FILES ${_markers} DESTINATION share/vivizu)
  install(DIRECTORY ${_src}/resources/Languages DESTINATION share/vivizu
          FILES_MATCHING PATTERN "*.isl")

  install(FILES ${_src}/resources/desktop/vivizu.desktop DESTINATION share/applications)
  foreach(_size 16 24 32 48 64 128 256)
    install(FILES ${_src}/resources/png/icon/vivizu-${_size}.png
            DESTINATION share/icons/hicolor/${_size}x${_size}/apps RENAME vivizu.png)
  endforeach()
  install(FILES ${_src}/resources/svg/icon-detailed.svg
          DESTINATION share/icons/hicolor/scalable/apps RENAME vivizu.svg)
endif()

# The AppStream file carries the id, version and home page.
set(VIVIZU_METAINFO ${CMAKE_BINARY_DIR}/share/${VIVIZU_APP_ID}.metainfo.xml)
configure_file(${_src}/resources/desktop/vivizu.metainfo.xml.in ${VIVIZU_METAINFO} @ONLY)
if(VIVIZU_GUI)
  install(FILES ${VIVIZU_METAINFO} DESTINATION share/metainfo)
endif()

# Manual pages, compressed as Debian keeps them.
find_program(GZIP_PROGRAM gzip REQUIRED)
set(_man_pages vivizu-cli.1)
if(VIVIZU_GUI)
  list(APPEND _man_pages vivizu.1)
endif()
set(_man_gz)
foreach(_page IN LISTS _man_pages)
  set(_out ${CMAKE_BINARY_DIR}/share/man/${_page}.gz)
  add_custom_command(OUTPUT ${_out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/share/man
    COMMAND sh -c "${GZIP_PROGRAM} -9n -c \"$0\" > \"$1\"" ${_src}/resources/man/${_page} ${_out}
    DEPENDS ${_src}/resources/man/${_page}
    COMMENT "Compressing the manual page ${_page}"
    VERBATIM)
  list(APPEND _man_gz ${_out})
endforeach()
add_custom_target(vivizu_man_pages ALL DEPENDS ${_man_gz})
install(FILES ${_man_gz} DESTINATION share/man/man1)
install(FILES ${_src}/LICENSE ${_src}/README.md DESTINATION share/doc/vivizu)

# make package: a Debian package, its dependencies worked out from the
# binaries by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vivizu)
set(CPACK_PACKAGE_VENDOR "the Vivizu authors")
set(CPACK_PACKAGE_CONTACT "the Vivizu authors")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cut a piece out of an MP3 file without re-encoding it")
set(CPACK_PACKAGE_DESCRIPTION
    "Vivizu opens an MP3 file, shows its stream properties and ID3v1 tag, lets you
place a start and an end marker, previews the selection and saves it as a new
file: whole MPEG frames copied byte for byte, optionally followed by an edited
ID3v1.1 tag. The command vivizu-cli shows, cuts and plays from the command line.")
set(CPACK_PACKAGE_HOMEPAGE_URL ${VIVIZU_HOMEPAGE})
set(CPACK_RESOURCE_FILE_LICENSE ${_src}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
