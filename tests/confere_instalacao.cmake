# Installs the build into a fresh prefix, checks the tree it makes, and has the
# installed program answer a piped session.
set(prefixo "${PASTA_DE_TESTE}/instalado")
file(REMOVE_RECURSE "${prefixo}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${CONSTRUCAO}" --prefix "${prefixo}"
  OUTPUT_QUIET RESULT_VARIABLE codigo)
if(NOT codigo EQUAL 0)
  message(FATAL_ERROR "cmake --install failed")
endif()

file(STRINGS "${LISTA}" esperados)
file(GLOB_RECURSE instalados RELATIVE "${prefixo}" "${prefixo}/*")
list(SORT instalados)
list(SORT esperados)
if(NOT instalados STREQUAL esperados)
  message(FATAL_ERROR "installed:\n  ${instalados}\nexpected:\n  ${esperados}")
endif()

set(PROGRAMA "${prefixo}/bin/analisar_exp_encad")
set(ENTRADA "${SESSOES}/exemplo.entrada")
set(ESPERADA "${SESSOES}/exemplo.saida")
set(OBTIDA "${PASTA_DE_TESTE}/instalado.saida")
include("${CMAKE_CURRENT_LIST_DIR}/roda_sessao.cmake")
