# `make package`: a Debian package of everything `make install` installs, under /usr. Its
# Depends come from the libraries the program links (dpkg-shlibdeps); the desktop, MIME and
# icon caches are refreshed by their own packages' triggers. `make package` checks it with
# lintian.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dirscribe)
set(CPACK_PACKAGE_VENDOR "The Dirscribe developers")
set(CPACK_PACKAGE_CONTACT "The Dirscribe developers <maintainers@dirscribe.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "folder and disk listings to annotate, print and export")
# The lines stay within 80 characters, as Debian asks.
set(CPACK_PACKAGE_DESCRIPTION
    "Dirscribe turns a folder or a whole disk into a listing: recursive folder
sizes, an indented tree to a chosen depth, a table sorted and annotated with
comments that stay with their files. It prints the listing on letter pages or
as cut-out inserts for CD and ZIP cases, saves it as its own document file or
as a text report, exports it as CSV, JSON or a web page, updates a saved
listing from its folder, searches saved listings, and shows the File Data of
audio, video, photo, PDF and Windows program files. The command line does the
same work without a display.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# Printing asks for Arial and Times New Roman; these are their metric twins. File Data loads
# libavformat for a video's timing when it is installed, so shlibdeps cannot see it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation)
find_package(PkgConfig QUIET)
if(PKG_CONFIG_FOUND)
  pkg_check_modules(DIRSCRIBE_PACKAGE_LIBAV QUIET libavformat)
endif()
if(DIRSCRIBE_PACKAGE_LIBAV_FOUND)
  string(REGEX MATCH "^[0-9]+" DIRSCRIBE_LIBAV_MAJOR "${DIRSCRIBE_PACKAGE_LIBAV_VERSION}")
  string(APPEND CPACK_DEBIAN_PACKAGE_RECOMMENDS ", libavformat${DIRSCRIBE_LIBAV_MAJOR}")
endif()
include(CPack)

# What Debian asks of every package: the licence in machine-readable form and a changelog,
# both in /usr/share/doc/dirscribe (the changelog compressed without a time stamp).
file(READ ${PROJECT_SOURCE_DIR}/LICENSE DIRSCRIBE_LICENSE)
string(REGEX REPLACE "^MIT License\n\n(Copyright \\(c\\) )?" "" DIRSCRIBE_LICENSE "${DIRSCRIBE_LICENSE}")
string(REGEX MATCH "^[^\n]*" DIRSCRIBE_COPYRIGHT "${DIRSCRIBE_LICENSE}")
string(REGEX REPLACE "^[^\n]*\n\n" "" DIRSCRIBE_LICENSE "${DIRSCRIBE_LICENSE}")
string(REGEX REPLACE "\n$" "" DIRSCRIBE_LICENSE "${DIRSCRIBE_LICENSE}")
string(REPLACE "\n\n" "\n.\n" DIRSCRIBE_LICENSE "${DIRSCRIBE_LICENSE}")
string(REPLACE "\n" "\n " DIRSCRIBE_LICENSE "${DIRSCRIBE_LICENSE}")
file(WRITE ${PROJECT_BINARY_DIR}/copyright
     "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
     "Upstream-Name: Dirscribe\n\n"
     "Files: *\nCopyright: ${DIRSCRIBE_COPYRIGHT}\nLicense: Expat\n ${DIRSCRIBE_LICENSE}\n")
execute_process(COMMAND date -u -R -d ${DIRSCRIBE_RELEASE_DATE}
                OUTPUT_VARIABLE DIRSCRIBE_RELEASE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE)
file(WRITE ${PROJECT_BINARY_DIR}/changelog
     "dirscribe (${PROJECT_VERSION}) unstable; urgency=medium\n\n"
     "  * Release ${PROJECT_VERSION}.\n\n"
     " -- ${CPACK_PACKAGE_CONTACT}  ${DIRSCRIBE_RELEASE_RFC2822}\n")
add_custom_command(OUTPUT changelog.gz COMMAND gzip -9nkf changelog
                   DEPENDS ${PROJECT_BINARY_DIR}/changelog)
add_custom_target(dirscribe_changelog ALL DEPENDS changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/copyright ${PROJECT_BINARY_DIR}/changelog.gz
        DESTINATION share/doc/dirscribe)
