# `make package`: a Debian package of what `cmake --install` installs, made by CPack. It depends
# on the shared libraries the programs and libtagdll.so link (found by dpkg-shlibdeps: SQLite,
# mdbtools' libmdb3, ...) and on the programs the installed sample plant needs (sqlite3 makes
# its project database).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quellor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "build step of a process-automation suite: HMI and historian files from a plant project")
set(CPACK_PACKAGE_CONTACT "Quellor developers <quellor-dev@invalid>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "sqlite3")
include(CPack)
