# `make package`: a Debian package of everything `make install` installs, under /usr. Its
# Depends come from the libraries the program links (dpkg-shlibdeps); the desktop, MIME and
# icon caches are refreshed by their own packages' triggers.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dirscribe)
set(CPACK_PACKAGE_VENDOR "The Dirscribe developers")
set(CPACK_PACKAGE_CONTACT "Dirscribe maintainers <maintainers@dirscribe.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "list a folder or a disk, annotate it, print it or save it as a report")
set(CPACK_PACKAGE_DESCRIPTION
    "Dirscribe turns a folder or a whole disk into a listing: recursive folder sizes, an
indented tree to a chosen depth, a table sorted and annotated with comments, printed on
letter pages or as cut-out inserts for CD and ZIP cases, saved as its own document file or
as a text report. The command line does the same work without a display.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://dirscribe.org/)
# Printing asks for Arial and Times New Roman; these are their metric twins.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation)
include(CPack)
