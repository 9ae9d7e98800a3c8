# The web build. Its console program and unit tests run under Node.js: byte for byte
# on the standard streams, and with the WebAssembly inside the script, since Node 20
# cannot fetch it from beside the script.
target_link_options(programa_de_console INTERFACE
  -sENVIRONMENT=node -sNODERAWFS=1 -sSINGLE_FILE=1)

find_program(NODE NAMES node nodejs REQUIRED)
# emcmake runs them under "node --experimental-wasm-threads", a flag Node 20 refuses.
if(CMAKE_CROSSCOMPILING_EMULATOR MATCHES "experimental-wasm-threads")
  set(CMAKE_CROSSCOMPILING_EMULATOR ${NODE} CACHE FILEPATH
    "Runs the web build's programs" FORCE)
endif()

# Debian's emscripten links with an optimiser that runs on the machine's node and
# needs Debian's acorn, which a node from elsewhere finds only on NODE_PATH.
execute_process(COMMAND ${NODE} -e "require('acorn')"
  RESULT_VARIABLE sem_acorn OUTPUT_QUIET ERROR_QUIET)
if(sem_acorn AND EXISTS /usr/share/nodejs/acorn)
  set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)
endif()
