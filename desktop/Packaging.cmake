# The Debian package: `cpack -G DEB` in the build folder. Its dependencies come from the
# shared libraries the programs link (dpkg-shlibdeps); the desktop database, MIME database
# and icon cache are refreshed by the triggers of the packages that own them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME fendral)
set(CPACK_PACKAGE_VENDOR VelvixSoft)
set(CPACK_PACKAGE_CONTACT "VelvixSoft <fendral@velvixsoft.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "home accounting: a household's accounts, transactions, budget and reports")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "home accounting: a household's accounts, transactions, budget and reports
 Fendral keeps a household's money in one data file: accounts in many
 currencies, transactions, categories, exchange rates, a budget and report
 series. The package holds the desktop program fendral and the command-line
 program fendral-cli.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://fendral.velvixsoft.example/)
set(CPACK_STRIP_FILES ON)
set(CPACK_THREADS 0)
include(CPack)
