#!/usr/bin/env python3
"""Times the batch of compara_com_bc.py, the whole dialogue of 100,000 expressions
piped through, with the web build's program under Node.js against the native
Release build, five runs each in alternation, and prints the medians and their
ratio. Usage: node_contra_nativo.py [WEB-BUILD]; the web build must be made first.
"""
import os
import statistics
import sys
import tempfile

import compara_com_bc as bench


def main():
    pasta_web = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                                os.path.join(bench.RAIZ, "build-web"))
    no_node = ["node", os.path.join(pasta_web, "analisar_exp_encad.js")]
    bench.compila(bench.PASTA)
    lote = bench.gera_lote()
    with tempfile.TemporaryDirectory() as pasta:
        dialogo = os.path.join(pasta, "dialogo.txt")
        with open(dialogo, "w") as arquivo:
            arquivo.write("\nS\n".join(lote) + "\nN\n")
        relatorio = os.path.join(pasta, "time.txt")
        nativo, node = [], []
        for _ in range(bench.RODADAS):
            nativo.append(bench.roda([bench.PROGRAMA], dialogo, relatorio))
            node.append(bench.roda(no_node, dialogo, relatorio))
    for nome, campo in (("wall", 0), ("cpu", 1)):
        n = statistics.median(r[campo] for r in nativo)
        w = statistics.median(r[campo] for r in node)
        print("%-4s  native %.3f s   under Node %.3f s   ratio %.1f" % (nome, n, w, w / n))


if __name__ == "__main__":
    sys.exit(main())
