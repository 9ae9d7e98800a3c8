#!/usr/bin/env python3
"""Counts, with callgrind, the instructions the program executes per expression on
the batch of compara_com_bc.py: the whole dialogue of 100,000 expressions piped
through, startup included. Builds Release twice, g++ with libstdc++ and clang++ with
libc++, unless PROGRAM paths are given. Usage: instrucoes_por_expressao.py [PROGRAM...]
"""
import os
import re
import subprocess
import sys
import tempfile

import compara_com_bc as bench


def instrucoes(programa, dialogo, pasta):
    relatorio = os.path.join(pasta, "callgrind.out")
    with open(dialogo, "rb") as fonte:
        subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=" + relatorio,
                        programa], stdin=fonte, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=True)
    with open(relatorio) as texto:
        return int(re.search(r"^summary: (\d+)", texto.read(), re.M).group(1))


def main():
    programas = sys.argv[1:]
    if not programas:
        bench.compila(bench.PASTA)
        bench.compila(bench.PASTA_LIBCXX, "-DCMAKE_CXX_COMPILER=clang++",
                      "-DCMAKE_CXX_FLAGS=-stdlib=libc++")
        programas = [bench.PROGRAMA, bench.PROGRAMA_LIBCXX]
    lote = bench.gera_lote()
    with tempfile.TemporaryDirectory() as pasta:
        dialogo = os.path.join(pasta, "dialogo.txt")
        with open(dialogo, "w") as arquivo:
            arquivo.write("\nS\n".join(lote) + "\nN\n")
        for programa in programas:
            total = instrucoes(programa, dialogo, pasta)
            print("%s: %d instructions per expression (%d in all)" %
                  (programa, round(total / len(lote)), total))


if __name__ == "__main__":
    sys.exit(main())
