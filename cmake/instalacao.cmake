# Install rules and packages: a Debian package and a tarball from a Linux build, a zip
# that runs with nothing else installed from the Windows build. Tests, benchmark and
# fuzzer are never installed.
include(GNUInstallDirs)
set(NOME_DO_PACOTE analisar-exp-encad)

if(WIN32)
  # Unzipped anywhere, the program and its documents sit side by side.
  install(TARGETS analisar_exp_encad RUNTIME DESTINATION .)
  install(FILES LEIAME.md README.md LICENSE DESTINATION .)
else()
  install(TARGETS analisar_exp_encad RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # The manual pages carry the version of the project() call.
  configure_file(man/analisar_exp_encad.1 man/analisar_exp_encad.1 @ONLY)
  configure_file(man/pt/analisar_exp_encad.1 man/pt/analisar_exp_encad.1 @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/man/analisar_exp_encad.1
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${PROJECT_BINARY_DIR}/man/pt/analisar_exp_encad.1
          DESTINATION ${CMAKE_INSTALL_MANDIR}/pt/man1)
  install(FILES README.md LEIAME.md LICENSE
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${NOME_DO_PACOTE})
endif()

set(CPACK_PACKAGE_NAME ${NOME_DO_PACOTE})
set(CPACK_PACKAGE_VENDOR "The Analisador de Expressoes authors")
set(CPACK_PACKAGE_CONTACT "The Analisador de Expressoes authors <autores@analisador-de-expressoes.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "interactive tester and evaluator of fully parenthesised expressions")
set(CPACK_PACKAGE_DESCRIPTION
    "Analisador de Expressoes reads arithmetic expressions of single digits, the\n\
operators + - * / and parentheses, with every operation in its own pair of\n\
parentheses, as in ((1+2)*3). It checks that the parentheses balance,\n\
evaluates the expression with an operand stack and an operator stack, prints\n\
both stacks after every push so that a student can follow the work, and\n\
prints the answer. Its dialogue is in Portuguese.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_GENERATOR "")
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME windows-x86_64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  set(CPACK_GENERATOR "DEB;TGZ")
endif()

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Debian wants compressed manual pages, a copyright file and a changelog; the other
# packages keep the files as they are installed.
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/prepara_pacote_debian.cmake)
set(CPACK_DEBIAN_DOCUMENTOS ${PROJECT_SOURCE_DIR}/cmake/debian)
include(CPack)
