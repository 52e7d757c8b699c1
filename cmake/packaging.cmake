# Installation and ready-made packages. On Linux `cmake --install` and the
# packages put the program in bin, the manual page in the manual's section 1
# and the examples under share/doc/dosmo/examples; `cpack` in a Release build
# folder makes a .deb and a .tar.gz of them. For Windows the package is a .zip
# of dosmo.exe, the examples and a short read-me in Portuguese (LEIA-ME.txt,
# Windows-1252 with CR LF like the program's own texts).
include(GNUInstallDirs)

set(DOSMO_EXAMPLES
  ${CMAKE_SOURCE_DIR}/examples/README.md
  ${CMAKE_SOURCE_DIR}/examples/respostas-basico.txt ${CMAKE_SOURCE_DIR}/examples/rel-basico.txt
  ${CMAKE_SOURCE_DIR}/examples/respostas-cp32.txt ${CMAKE_SOURCE_DIR}/examples/rel-cp32.txt
  ${CMAKE_SOURCE_DIR}/examples/respostas-duas-britas.txt ${CMAKE_SOURCE_DIR}/examples/rel-2britas.txt)

set(CPACK_PACKAGE_NAME dosmo)
set(CPACK_PACKAGE_VENDOR "dosmo")
set(CPACK_PACKAGE_CONTACT "dosmo maintainers <dosmo@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Structural concrete mix proportioning in a text console")
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  install(TARGETS dosmo RUNTIME DESTINATION .)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/LEIA-ME.txt DESTINATION .)
  install(FILES ${DOSMO_EXAMPLES} DESTINATION exemplos)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME windows-x86_64)
else()
  install(TARGETS dosmo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CMAKE_SOURCE_DIR}/man/dosmo.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${DOSMO_EXAMPLES} DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)
  set(CPACK_GENERATOR DEB TGZ)
  set(CPACK_SYSTEM_NAME linux-x86_64)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION science)
  set(CPACK_PACKAGE_DESCRIPTION "dosmo asks, in Portuguese, for the required strength, the control \
level, the slump, the aggregates and the water-cement ratio, and writes the mix by weight and the \
site batch boxes to a report file (Windows-1252 text).")
  # A statically linked program needs nothing at run time; a dynamic one the
  # C and C++ run-time libraries.
  if(NOT DOSMO_LINKED_STATICALLY)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6")
  endif()
endif()

include(CPack)
