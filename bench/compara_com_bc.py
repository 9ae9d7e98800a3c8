#!/usr/bin/env python3
"""Times the analyser as a filter against bc on the same batch of expressions.

Builds a Release program, generates 100,000 random fully parenthesised expressions
of at most 50 characters, then runs, five times each and alternating, the whole
dialogue (every expression answered "S", the last "N", all trace lines piped out)
and bc computing only the answers. Prints the medians, their ratio and the peak
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
EXPRESSOES = 100_000
RODADAS = 5


def compila():
    subprocess.run(["cmake", "-S", RAIZ, "-B", PASTA, "-DCMAKE_BUILD_TYPE=Release",
                    "-DWITH_TESTS=OFF", "-DWITH_BENCHMARK=OFF"],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", PASTA, "-j2"], check=True,
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


def pico_com_linha_longa(tamanho, relatorio):
    """Peak memory of the program given one line of `tamanho` bytes through a pipe."""
    processo = subprocess.Popen(medido([PROGRAMA], relatorio), stdin=subprocess.PIPE,
                                stdout=subprocess.DEVNULL)
    bloco = b"(" * (1 << 20)
    for _ in range(tamanho >> 20):
        processo.stdin.write(bloco)
    processo.stdin.write(b"\nN\n")
    processo.stdin.close()
    processo.wait()
    return le_relatorio(relatorio)[2]


def main():
    compila()
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

        relatorio = os.path.join(pasta, "time.txt")
        programa, bc = [], []
        for _ in range(RODADAS):
            programa.append(roda([PROGRAMA], dialogo, relatorio))
            bc.append(roda(["bc", "-q"], contas, relatorio))
        # The peak resident size wavers by a few pages of shared code from run to
        # run; the median of five runs steadies it.
        def pico(medida):
            return statistics.median(medida() for _ in range(RODADAS))

        pico_lote = statistics.median(r[2] for r in programa)
        pico_uma = pico(lambda: roda([PROGRAMA], uma, relatorio)[2])
        pico_mil = pico(lambda: roda([PROGRAMA], mil, relatorio)[2])
        pico_longa = pico(lambda: pico_com_linha_longa(200 << 20, relatorio))
        pico_curta = pico(lambda: pico_com_linha_longa(0, relatorio))

    def mediana(rodadas, campo):
        return statistics.median(r[campo] for r in rodadas)

    print("%d expressions, mean length %.1f characters" %
          (EXPRESSOES, sum(map(len, lote)) / len(lote)))
    for nome, campo in (("wall", 0), ("cpu", 1)):
        p, b = mediana(programa, campo), mediana(bc, campo)
        print("%-4s  program %.3f s   bc %.3f s   ratio %.1f" % (nome, p, b, b / p))
    print("peak memory: one expression %d KiB, 1,000 %d KiB, %d %d KiB" %
          (pico_uma, pico_mil, EXPRESSOES, pico_lote))
    print("peak memory: 200 MB line %d KiB, short line %d KiB" % (pico_longa, pico_curta))


if __name__ == "__main__":
    sys.exit(main())
