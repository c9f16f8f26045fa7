# The Debian package: `cpack -G DEB` in the build folder writes vondal_<version>_<arch>.deb, which
# `apt install ./vondal_*.deb` installs under /usr (script/package builds and checks it). Its
# dependencies are the shared libraries the programs link, as dpkg-shlibdeps finds them.

# The version the programs show ("w01.022"), without its letter: a Debian version starts with a digit.
file(STRINGS ${PROJECT_SOURCE_DIR}/app/text/version.h version_line REGEX "kProgramVersion\\[\\] = ")
string(REGEX REPLACE ".*\"w([0-9.]+)\".*" "\\1" VONDAL_PACKAGE_VERSION "${version_line}")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vondal)
set(CPACK_PACKAGE_VERSION ${VONDAL_PACKAGE_VERSION})
set(CPACK_PACKAGE_CONTACT "Vondal developers <vondal@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "station log for Japanese radio amateurs, full-screen in a terminal")
set(CPACK_PACKAGE_DESCRIPTION
  "Vondal records contacts (QSOs) typed in Japanese, finds earlier contacts in a keystroke,\n"
  "exports ADIF and writes contest logs in the JARL format. Logs, settings and reports are\n"
  "Shift-JIS (CP932) files. Vonrix analyses a log for repeat contacts, Vonfill makes dummy\n"
  "logs, and scroll is the text viewer in which Vondal shows its reports.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# man-db reads the manual pages; the programs run without it.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS man-db)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/package)
include(CPack)
