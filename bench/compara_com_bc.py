#!/usr/bin/env python3
"""Times the analyser as a filter against bc on the same batch of expressions.

Builds a Release program twice, with g++ and libstdc++ and with clang++ and libc++,
generates 100,000 random fully parenthesised expressions of at most 50 characters,
then runs, five times each and alternating, the whole dialogue (every expression
answered "S", the last "N", all trace lines piped out) with each build, and bc
computing only the answers. Prints the medians, the ratios to bc and the peak
memory of the program for the batch, for one expression and for a 200 MB line.
"""
import os
import random
import statistics
import subprocess
import sys
import tempfile
import time

RAIZ = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PASTA = os.path.join(RAIZ, "build-bench")
PROGRAMA = os.path.join(PASTA, "analisar_exp_encad")
PASTA_LIBCXX = os.path.join(RAIZ, "build-bench-libcxx")
PROGRAMA_LIBCXX = os.path.join(PASTA_LIBCXX, "analisar_exp_encad")
EXPRESSOES = 100_000
RODADAS = 5


def compila(pasta, *opcoes):
    subprocess.run(["cmake", "-S", RAIZ, "-B", pasta, "-DCMAKE_BUILD_TYPE=Release",
                    "-DWITH_TESTS=OFF", "-DWITH_BENCHMARK=OFF", *opcoes],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", pasta, "-j2"], check=True,
                   stdout=subprocess.DEVNULL)


def expressao(sorteio, operadores):
    """A random fully parenthesised expression with the given number of operators."""
    if operadores == 0:
        return str(sorteio.randint(0, 9))
    esquerda = sorteio.randint(0, operadores - 1)
    return "(%s%s%s)" % (expressao(sorteio, esquerda), sorteio.choice("+-*/"),
                         expressao(sorteio, operadores - 1 - esquerda))


def gera_lote():
    sorteio = random.Random(2026)
    # 12 operators make 49 characters, the most that fits in 50.
    return [expressao(sorteio, sorteio.randint(1, 12)) for _ in range(EXPRESSOES)]


def medido(comando, relatorio):
    # GNU time reports the peak memory of the program alone; a child forked from
    # this script would be charged with the script's own memory.
    return ["/usr/bin/time", "-f", "%e %U %S %M", "-o", relatorio] + comando


def le_relatorio(relatorio):
    parede, usuario, sistema, pico = open(relatorio).read().split()[-4:]
    return float(parede), float(usuario) + float(sistema), int(pico)


def roda(comando, entrada, relatorio):
    """Runs a command on the input file, drains its output through a pipe and
    returns (seconds of wall time, seconds of CPU, peak memory in KiB)."""
    with open(entrada, "rb") as fonte:
        inicio = time.perf_counter()
        processo = subprocess.Popen(medido(comando, relatorio), stdin=fonte,
                                    stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        while processo.stdout.read(1 << 20):
            pass
        _, _, uso = os.wait4(processo.pid, 0)
        parede = time.perf_counter() - inicio
    return parede, uso.ru_utime + uso.ru_stime, le_relatorio(relatorio)[2]


def pico_do_heap(entrada, pasta):
    """Peak of the program's heap in bytes, as valgrind's massif sees it: unlike the
    resident size, it does not waver from run to run."""
    relatorio = os.path.join(pasta, "massif.out")
    with open(entrada, "rb") as fonte:
        subprocess.run(["valgrind", "--tool=massif", "--massif-out-file=" + relatorio,
                        PROGRAMA], stdin=fonte, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=True)
    pico = uso = 0
    for linha in open(relatorio):
        if linha.startswith("mem_heap_B="):
            uso = int(linha.split("=")[1])
        elif linha.startswith("mem_heap_extra_B="):
            pico = max(pico, uso + int(linha.split("=")[1]))
    return pico


def main():
    compila(PASTA)
    compila(PASTA_LIBCXX, "-DCMAKE_CXX_COMPILER=clang++", "-DCMAKE_CXX_FLAGS=-stdlib=libc++")
    lote = gera_lote()
    with tempfile.TemporaryDirectory() as pasta:
        dialogo = os.path.join(pasta, "dialogo.txt")
        contas = os.path.join(pasta, "contas.txt")
        uma = os.path.join(pasta, "uma.txt")
        mil = os.path.join(pasta, "mil.txt")
        with open(dialogo, "w") as arquivo:
            arquivo.write("\nS\n".join(lote) + "\nN\n")
        with open(contas, "w") as arquivo:
            arquivo.write("\n".join(lote) + "\n")
        with open(uma, "w") as arquivo:
            arquivo.write(lote[0] + "\nN\n")
        with open(mil, "w") as arquivo:
            arquivo.write("\nS\n".join(lote[:1000]) + "\nN\n")

        longa = os.path.join(pasta, "longa.txt")
        with open(longa, "wb") as arquivo:
            bloco = b"(" * (1 << 20)
            for _ in range(200):
                arquivo.write(bloco)
            arquivo.write(b"\nN\n")
        curta = os.path.join(pasta, "curta.txt")
        with open(curta, "wb") as arquivo:
            arquivo.write(b"(\nN\n")

        relatorio = os.path.join(pasta, "time.txt")
        programa, libcxx, bc = [], [], []
        for _ in range(RODADAS):
            programa.append(roda([PROGRAMA], dialogo, relatorio))
            libcxx.append(roda([PROGRAMA_LIBCXX], dialogo, relatorio))
            bc.append(roda(["bc", "-q"], contas, relatorio))

        # The resident size wavers by some pages of shared code from run to run; the
        # median of five runs steadies it.
        casos = (("one expression", uma), ("1,000", mil), ("100,000", dialogo),
                 ("200 MB line", longa), ("short line", curta))
        residente = [statistics.median(roda([PROGRAMA], entrada, relatorio)[2]
                                       for _ in range(RODADAS)) for _, entrada in casos]
        heap = [pico_do_heap(entrada, pasta) for _, entrada in casos]

    def mediana(rodadas, campo):
        return statistics.median(r[campo] for r in rodadas)

    print("%d expressions, mean length %.1f characters" %
          (EXPRESSOES, sum(map(len, lote)) / len(lote)))
    for nome, campo in (("wall", 0), ("cpu", 1)):
        p, c, b = mediana(programa, campo), mediana(libcxx, campo), mediana(bc, campo)
        print("%-4s  libstdc++ %.3f s (ratio %.1f)   libc++ %.3f s (ratio %.1f)   "
              "bc %.3f s" % (nome, p, b / p, c, b / c, b))
    print("%-15s %12s %12s" % ("peak memory", "resident KiB", "heap bytes"))
    for (nome, _), kib, byte in zip(casos, residente, heap):
        print("%-15s %12d %12d" % (nome, kib, byte))


if __name__ == "__main__":
    sys.exit(main())
