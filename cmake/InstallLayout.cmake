# Where `cmake --install` puts Quellor (GNUInstallDirs): the programs in bin/, libtagdll.so in a
# private folder of the library folder (loaded by name, never linked), the shared data (the
# project schema, the sample plant, the shell application) in share/quellor, the format pages in
# share/doc/quellor, the manual pages in section 1.
set(QUELLOR_INSTALL_LIBRARY_DIR ${CMAKE_INSTALL_LIBDIR}/quellor)
set(QUELLOR_INSTALL_DATA_DIR ${CMAKE_INSTALL_DATADIR}/quellor)
set(QUELLOR_INSTALL_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/quellor)

# The installed programs and the library find each other and the data by relative paths, so
# that an installation works under any prefix (a package's /usr as well as a user's /tmp/q).
file(RELATIVE_PATH QUELLOR_PROGRAMS_TO_LIBRARY
     ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR}/quellor)
file(RELATIVE_PATH QUELLOR_LIBRARY_TO_PROGRAMS
     ${CMAKE_INSTALL_FULL_LIBDIR}/quellor ${CMAKE_INSTALL_FULL_BINDIR})
file(RELATIVE_PATH QUELLOR_PROGRAMS_TO_DATA
     ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/quellor)
