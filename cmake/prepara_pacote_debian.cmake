# Run by CPack on the staged files before it builds a package. For the Debian package
# it adds what Debian's policy asks of every package: manual pages compressed, and a
# copyright file and a changelog in the package's document folder.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
set(raiz "${CPACK_TEMPORARY_DIRECTORY}/usr/share")
set(documentos "${raiz}/doc/${CPACK_PACKAGE_NAME}")
file(COPY "${CPACK_DEBIAN_DOCUMENTOS}/copyright" DESTINATION "${documentos}")
configure_file("${CPACK_DEBIAN_DOCUMENTOS}/changelog" "${documentos}/changelog" @ONLY)
file(GLOB_RECURSE paginas "${raiz}/man/*.1")
foreach(arquivo "${documentos}/changelog" ${paginas})
  execute_process(COMMAND gzip -9nf "${arquivo}" RESULT_VARIABLE codigo)
  if(NOT codigo EQUAL 0)
    message(FATAL_ERROR "gzip ${arquivo} failed")
  endif()
endforeach()
