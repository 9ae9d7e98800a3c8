# Runs one recorded session through the program and compares its whole output; with
# QUEBRA_CRLF the expected "\n" are "\r\n", as a Windows program writes them.
separate_arguments(lancador UNIX_COMMAND "${LANCADOR}")
get_filename_component(pasta "${OBTIDA}" DIRECTORY)
file(MAKE_DIRECTORY "${pasta}")
execute_process(COMMAND ${lancador} "${PROGRAMA}"
  INPUT_FILE "${ENTRADA}"
  OUTPUT_FILE "${OBTIDA}"
  ERROR_VARIABLE erros
  RESULT_VARIABLE codigo)
if(NOT codigo STREQUAL "0")
  message(FATAL_ERROR "exit code ${codigo}\n${erros}")
endif()
if(NOT erros STREQUAL "")
  message(FATAL_ERROR "standard error is not empty:\n${erros}")
endif()
set(esperada "${ESPERADA}")
if(QUEBRA_CRLF)
  file(READ "${ESPERADA}" texto)
  string(REPLACE "\n" "\r\n" texto "${texto}")
  set(esperada "${OBTIDA}.esperada")
  file(WRITE "${esperada}" "${texto}")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${OBTIDA}" "${esperada}"
  RESULT_VARIABLE diferente)
if(diferente)
  message(FATAL_ERROR "output differs from ${esperada}; see ${OBTIDA}")
endif()
