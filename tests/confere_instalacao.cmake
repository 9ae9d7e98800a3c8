# Installs the build into a fresh prefix, checks the tree it makes, and has the
# installed program answer a piped session.
set(prefixo "${PASTA_DE_TESTE}/instalado")
file(REMOVE_RECURSE "${prefixo}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${CONSTRUCAO}" --prefix "${prefixo}"
  OUTPUT_QUIET RESULT_VARIABLE codigo)
if(NOT codigo EQUAL 0)
  message(FATAL_ERROR "cmake --install failed")
endif()

set(esperados
  bin/analisar_exp_encad
  share/man/man1/analisar_exp_encad.1
  share/man/pt/man1/analisar_exp_encad.1
  share/doc/analisar-exp-encad/README.md
  share/doc/analisar-exp-encad/LEIAME.md
  share/doc/analisar-exp-encad/LICENSE)
file(GLOB_RECURSE instalados RELATIVE "${prefixo}" "${prefixo}/*")
list(SORT instalados)
list(SORT esperados)
if(NOT instalados STREQUAL esperados)
  message(FATAL_ERROR "installed:\n  ${instalados}\nexpected:\n  ${esperados}")
endif()

execute_process(COMMAND "${prefixo}/bin/analisar_exp_encad"
  INPUT_FILE "${SESSOES}/exemplo.entrada"
  OUTPUT_FILE "${PASTA_DE_TESTE}/instalado.saida"
  RESULT_VARIABLE codigo)
execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files
  "${PASTA_DE_TESTE}/instalado.saida" "${SESSOES}/exemplo.saida"
  RESULT_VARIABLE diferente)
if(NOT codigo EQUAL 0 OR diferente)
  message(FATAL_ERROR "the installed program did not answer as expected (exit ${codigo})")
endif()
