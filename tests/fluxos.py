#!/usr/bin/env python3
"""The program run as its users run it: on pipes, files, terminals and broken or
odd standard streams. Usage: fluxos.py PROGRAM CASE; each CASE is one test.
fluxos.py --casos [com-editor] lists the cases, those of the line editor included
when the program is built with it."""
import errno
import fcntl
import os
import pty
import select
import signal
import struct
import subprocess
import sys
import tempfile
import termios
import time

PROGRAMA = sys.argv[1]
CICLO = b"Analisador de Expressoes\n\nExpressao: "
CONTINUA = b"\nContinua [S/N]? "
LIMPA = b"\x1b[H\x1b[2J"
PRAZO = 10  # seconds any single wait may take before the case fails


def confere(condicao, mensagem):
    if not condicao:
        raise AssertionError(mensagem)


def roda(comando, **opcoes):
    resultado = subprocess.run(comando, capture_output=True, timeout=PRAZO, **opcoes)
    return resultado.returncode, resultado.stdout, resultado.stderr


def uma_linha_de_erro(erro, causa):
    linhas = erro.decode().splitlines()
    confere(len(linhas) == 1 and linhas[0].startswith("analisar_exp_encad: ") and
            causa in linhas[0], "standard error: %r" % erro)


def ate(fonte, fim, lido=b""):
    """Reads from the descriptor until what was read ends with fim or, with fim None,
    until the output ends: a pty says EIO once nobody holds it and nothing is left."""
    limite = time.monotonic() + PRAZO
    while fim is None or not lido.endswith(fim):
        pronto, _, _ = select.select([fonte], [], [], max(0, limite - time.monotonic()))
        confere(pronto, "waited in vain for %r; got %r" % (fim, lido[-200:]))
        try:
            pedaco = os.read(fonte, 65536)
        except OSError as erro:
            confere(erro.errno == errno.EIO, str(erro))
            pedaco = b""
        if not pedaco:
            confere(fim is None, "output ended before %r; got %r" % (fim, lido[-200:]))
            return lido
        lido += pedaco
    return lido


def espera_fim(processo):
    try:
        return processo.wait(timeout=PRAZO)
    except subprocess.TimeoutExpired:
        processo.kill()
        raise AssertionError("the program did not end")


# ---- Broken standard streams: one line on standard error, exit status 1 ----

def entrada_que_falha():
    """A directory, a closed descriptor, one open for writing only."""
    with tempfile.NamedTemporaryFile() as arquivo:
        for redireciona in ("<&-", "</", '0>>"$1"'):
            codigo, saida, erro = roda(["sh", "-c", 'exec "$0" ' + redireciona, PROGRAMA,
                                        arquivo.name])
            confere(codigo == 1 and saida == CICLO + b"\n", (redireciona, codigo, saida))
            uma_linha_de_erro(erro, "ler")


def saida_que_falha():
    """A full device, a closed descriptor."""
    for redireciona in (">/dev/full", ">&-"):
        codigo, _, erro = roda(["sh", "-c", 'exec "$0" ' + redireciona, PROGRAMA],
                               input=b"(1+2)\nn\n")
        confere(codigo == 1, (redireciona, codigo))
        uma_linha_de_erro(erro, "escrever")


def leitor_que_vai_embora():
    """Like every filter, the program ends by SIGPIPE when its reader goes away."""
    ler, escrever = os.pipe()
    processo = subprocess.Popen([PROGRAMA], stdin=subprocess.PIPE, stdout=escrever)
    os.close(escrever)
    ate(ler, CICLO)
    os.close(ler)
    processo.stdin.write(b"(1+2)\nn\n")
    processo.stdin.close()
    confere(espera_fim(processo) == -signal.SIGPIPE, processo.returncode)


# ---- Non-blocking streams that another program left so ----

def nao_bloqueante(descritor):
    modo = fcntl.fcntl(descritor, fcntl.F_GETFL)
    fcntl.fcntl(descritor, fcntl.F_SETFL, modo | os.O_NONBLOCK)


def entrada_nao_bloqueante():
    ler, escrever = os.pipe()
    nao_bloqueante(ler)
    processo = subprocess.Popen([PROGRAMA], stdin=ler, stdout=subprocess.PIPE)
    os.close(ler)
    saida = ate(processo.stdout.fileno(), CICLO)  # it waits: no EAGAIN failure
    time.sleep(0.2)
    os.write(escrever, b"(1+2)\nn\n")
    os.close(escrever)
    saida += processo.stdout.read()
    confere(espera_fim(processo) == 0, processo.returncode)
    confere(saida.endswith(b"\nResposta: 3 \n" + CONTINUA), saida[-100:])


def saida_nao_bloqueante_e_leitor_lento():
    lote = b"\nS\n".join([b"((1+2)*(3+4))"] * 5000) + b"\nN\n"
    esperada = subprocess.run([PROGRAMA], input=lote, capture_output=True,
                              timeout=PRAZO).stdout
    ler, escrever = os.pipe()
    nao_bloqueante(escrever)
    with tempfile.TemporaryFile() as fonte:
        fonte.write(lote)
        fonte.seek(0)
        processo = subprocess.Popen([PROGRAMA], stdin=fonte, stdout=escrever,
                                    stderr=subprocess.PIPE)
    os.close(escrever)
    recebida = b""
    while True:
        time.sleep(0.001)  # slower than the program writes
        pedaco = os.read(ler, 4096)
        if not pedaco:
            break
        recebida += pedaco
    confere(espera_fim(processo) == 0, processo.stderr.read())
    confere(recebida == esperada, "%d bytes of %d" % (len(recebida), len(esperada)))


# ---- Input that goes on after the program ----

def deixa_o_resto_da_entrada():
    """The count of what is left is pinned by a unit test; this is the give-back."""
    with tempfile.TemporaryFile() as fonte:
        fonte.write(b"(1+2)\r\nsim\r\nn\r\nresto")
        fonte.seek(0)
        codigo, saida, _ = roda(["sh", "-c", '"$0"; cat', PROGRAMA], stdin=fonte)
    confere(codigo == 0 and saida.endswith(CONTINUA + b"resto"), saida[-60:])


# ---- A driver on pipes that waits for each prompt ----

def dialogo_por_pipes():
    processo = subprocess.Popen([PROGRAMA], stdin=subprocess.PIPE,
                                stdout=subprocess.PIPE)
    saida = processo.stdout.fileno()
    lido = ate(saida, CICLO)
    for linha, fim in ((b"(1+2)\n", CONTINUA), (b"x\n", None), (b"s\n", CICLO),
                       (b"(3*", None), (b"4)\r\n", CONTINUA), (b"S\r\n", CICLO),
                       (b"(8/0)\n", CONTINUA)):
        processo.stdin.write(linha)
        processo.stdin.flush()
        if fim is not None:
            lido = ate(saida, fim, lido)
    processo.stdin.write(b"n\n")
    processo.stdin.flush()
    confere(espera_fim(processo) == 0, processo.returncode)
    processo.stdin.close()
    confere(b"Resposta: 12" in lido and lido.endswith(b"Divisao por 0\n" + CONTINUA),
            lido[-100:])


# ---- A terminal ----

def com_perfil(ambiente):
    """The environment given, and where a coverage build writes its profile."""
    return dict(ambiente, **{nome: valor for nome, valor in os.environ.items()
                             if nome == "LLVM_PROFILE_FILE"})


EDITANDO = object()  # what no_terminal waits for: the editor's prompt, ready for keys


def PAUSA(_):
    """What no_terminal "types" to let the program wait a while for a key."""
    time.sleep(0.2)


def tamanho(colunas, linhas=24):
    """What no_terminal "types" to resize the terminal (either end of it)."""
    return lambda ponta: fcntl.ioctl(ponta, termios.TIOCSWINSZ,
                                     struct.pack("HHHH", linhas, colunas, 0, 0))


def editando(mestre):
    """Waits until the line editor has the terminal: it draws its prompt before it
    takes the terminal out of line mode, and a key typed in between would be the line
    discipline's, not the editor's."""
    limite = time.monotonic() + PRAZO
    while termios.tcgetattr(mestre)[3] & termios.ICANON:
        confere(time.monotonic() < limite, "the editor never took the terminal")
        time.sleep(0.005)


def no_terminal(ambiente, digitado, comando=None, colunas=80):
    """Runs the program (or the command) on a pseudo-terminal of 24 lines, types each
    piece (or does what it says) once the output so far ends with what it waits for,
    and returns the output and the exit status. Nothing may arrive on standard error."""
    comando = comando or [PROGRAMA]
    with tempfile.TemporaryFile() as erros:
        pid, mestre = pty.fork()
        if pid == 0:  # the size is set before anything can read it
            tamanho(colunas)(0)
            os.dup2(erros.fileno(), 2)
            os.execve(comando[0], comando, com_perfil(ambiente))
        lido = b""
        for espera, texto in digitado:
            lido = ate(mestre, b"Expressao: " if espera is EDITANDO else espera, lido)
            if espera is EDITANDO:
                editando(mestre)
            if callable(texto):
                texto(mestre)
            else:
                os.write(mestre, texto)
        lido = ate(mestre, None, lido)  # all the program wrote
        os.close(mestre)
        codigo = os.waitstatus_to_exitcode(os.waitpid(pid, 0)[1])
        erros.seek(0)
        erro = erros.read()
    confere(erro == b"", "standard error: %r" % erro)
    return lido, codigo


def terminal_limpa_a_tela_conforme_term():
    """Where the screen is not cleared, no byte of a line editor arrives either. A
    terminal type with no description is cleared, and read without the editor."""
    for ambiente, limpa in (({"TERM": "xterm"}, True), ({"TERM": "dumb"}, False),
                            ({}, False), ({"TERM": ""}, False),
                            ({"TERM": "sem-descricao"}, True)):
        lido, codigo = no_terminal(ambiente, [(b"Expressao: ", b"n\n"),
                                              (b"[S/N]? ", b"n\n")])
        confere(codigo == 0 and lido.startswith(LIMPA) == limpa, (ambiente, lido))
        confere(limpa or b"\x1b" not in lido, (ambiente, lido))
    # A terminal on one end only: input alone gets no clearing and no editor;
    # output alone is cleared, and the lines piped in are read plainly.
    lido, codigo = no_terminal({"TERM": "xterm"}, [(b"Expressao: ", b"(1+2)\nn\n")],
                               ["/bin/sh", "-c", '"$0" | cat', PROGRAMA])
    confere(codigo == 0 and b"Resposta: 3" in lido and b"\x1b" not in lido, lido)
    lido, codigo = no_terminal({"TERM": "xterm"}, [],
                               ["/bin/sh", "-c", 'echo "(1+2)" | "$0"', PROGRAMA])
    confere(codigo == 0 and lido.startswith(LIMPA) and b"Resposta: 3" in lido, lido)


def terminal_um_ctrl_d_basta():
    ambiente = {"TERM": "dumb"}
    # Ctrl-D at the answer prompt ends the dialogue at once.
    _, codigo = no_terminal(ambiente, [(b"Expressao: ", b"(1+2)\n"),
                                       (b"[S/N]? ", b"\x04")])
    confere(codigo == 0, codigo)
    # Typed ahead with the line, it ends the dialogue at the next wait.
    lido, codigo = no_terminal(ambiente, [(b"Expressao: ", b"(1+2)\n\x04")])
    confere(codigo == 0, codigo)
    confere(lido.count(b"Resposta: 3") == 1, lido)
    # A line ended by Ctrl-D, not Enter, takes a second one, as with every program;
    # that end of input is final, and the answer prompt does not wait for a third.
    lido, codigo = no_terminal(ambiente, [(b"Expressao: ", b"(1+2)\x04"),
                                          (b"(1+2)", b"\x04")])
    confere(codigo == 0 and lido.endswith(b"Resposta: 3 \r\n\r\nContinua [S/N]? \r\n"),
            lido)


# The number of read(2) in /proc/PID/syscall, by machine.
READ = {"x86_64": "0", "aarch64": "63", "i686": "3"}.get(os.uname().machine)


def lendo(pid):
    """Waits until the program is blocked in a read of its standard input: under a
    read in course a terminal that hangs up makes it fail; just before it, the read
    returns the end of input."""
    limite = time.monotonic() + PRAZO
    while READ and open("/proc/%d/syscall" % pid).read().split()[:2] != [READ, "0x0"]:
        confere(time.monotonic() < limite, "the program never read its input")
        time.sleep(0.005)


# ---- The line editor, at a terminal whose screen can be cleared ----

# The C locale, in which the editor would drop bytes from 0x80 up, is taken as UTF-8.
XTERM = {"TERM": "xterm", "LC_ALL": "C", "EDITRC": "/dev/null"}
CIMA, ESQUERDA, APAGA = b"\x1b[A", b"\x1b[D", b"\x7f"


def editor_recorda_e_edita():
    """Up skips the empty line and the answers, and recalls the expression before."""
    lido, codigo = no_terminal(XTERM, [
        (EDITANDO, b"((1+2)*3)\r"), (b"[S/N]? ", b"s\r"),
        (EDITANDO, b"\r"), (b"[S/N]? ", b"s\r"),
        (EDITANDO, CIMA), (b"((1+2)*3)", ESQUERDA + APAGA + b"4\r"),
        (b"[S/N]? ", b"n\r")])
    confere(codigo == 0 and b"Resposta: 9 " in lido and b"Resposta: 12 " in lido, lido)


def editor_teclas_de_escape_nada_fazem():
    """F1, F4, F5, F9, F12, Page Up and Down, Insert and Shift-F5, as each terminal
    type describes them and with xterm's modifiers, type nothing into a line of 50
    and answer nothing; Esc then a digit is a repeat count."""
    import curses
    modificadas = [b"\x1b[%s;%d%s" % (n, m, f) for m in range(2, 9) for n, f in (
        (b"1", b"P"), (b"1", b"S"), (b"15", b"~"), (b"20", b"~"), (b"24", b"~"),
        (b"5", b"~"), (b"6", b"~"), (b"2", b"~"))]
    for termo in ("xterm", "xterm-256color", "screen", "tmux-256color", "linux", "vt100"):
        curses.setupterm(termo, sys.stderr.fileno())
        teclas = b"".join([curses.tigetstr(nome) or b"" for nome in ("kf1", "kf4", "kf5",
                           "kf9", "kf12", "kpp", "knp", "kich1", "kf17")] + modificadas)
        lido, codigo = no_terminal(dict(XTERM, TERM=termo), [
            (EDITANDO, b"\x1b2(1+" + teclas + b"2)*3)\x1b41 \r"),  # "((1+2)*3)" + 41 " "
            (b"[S/N]? ", teclas + b"n\r")])
        confere(codigo == 0 and b"Resposta: 9 " in lido and
                lido.count(b"Analisador de Expressoes") == 1, (termo, lido[-300:]))


def editor_linhas_coladas():
    """A dialogue pasted at once shows what it shows typed line by line, and its
    expressions are recalled. Every byte typed counts, UTF-8 or not: 51 here."""
    linhas = [b"1" * 43 + "ã😀".encode() + b"\xff\xfe", b"s", b"((1+2)*3)", b"s", b"(4/2)",
              b"s", b"(9-8)", b"s", CIMA + CIMA, b"n"]
    colado, codigo = no_terminal(XTERM, [(EDITANDO, b"\n".join(linhas) + b"\n")])
    confere(codigo == 0, codigo)
    prompts = [EDITANDO, b"[S/N]? "] * 5
    digitado, _ = no_terminal(XTERM, [(prompt, linha + b"\r")
                                      for prompt, linha in zip(prompts, linhas)])
    confere(colado == digitado, "pasted:\n%r\ntyped:\n%r" % (colado, digitado))
    confere(colado.count(b"muito Longa") == 1 and colado.count(b"Resposta: 2 ") == 2 and
            colado.endswith(b"Pilha 1: 24\r\n\r\nResposta: 2 \r\n\r\nContinua [S/N]? n\r\n"),
            colado)


def editor_ctrl_d_e_ctrl_c():
    # A locale that is not installed is the C locale.
    _, codigo = no_terminal(dict(XTERM, LC_ALL="xx_XX.nenhum"), [(EDITANDO, b"\x04")])
    confere(codigo == 0, codigo)
    # Typed ahead with the line, in one burst, it ends the dialogue at the answer.
    lido, codigo = no_terminal(XTERM, [(EDITANDO, b"(1+2)\r\x04")])
    confere(codigo == 0 and lido.count(b"Resposta: 3") == 1, (codigo, lido))
    with tempfile.TemporaryDirectory() as pasta:
        modo = [os.path.join(pasta, nome) for nome in ("antes", "depois", "codigo")]
        roteiro = 'trap : INT; stty -a >"$1"; "$0"; echo $? >"$3"; stty -a >"$2"'
        no_terminal(XTERM, [(EDITANDO, b"(1+"), (b"(1+", b"\x03")],
                    ["/bin/sh", "-c", roteiro, PROGRAMA] + modo)
        antes, depois, codigo = (open(nome).read() for nome in modo)
    confere(codigo.strip() == str(128 + signal.SIGINT), codigo)
    confere(antes == depois, "the terminal's mode changed:\n%s\n%s" % (antes, depois))


def editor_ctrl_z_e_fg():
    """Ctrl-Z leaves the terminal as it was found, every time, and fg draws the line
    again."""
    DE_VOLTA = b'"$0" 2>&3\r\nExpressao: '  # what fg prints, and the line drawn again
    with tempfile.TemporaryDirectory() as pasta:
        modos = [os.path.join(pasta, str(vez)) for vez in range(3)]
        roteiro = ('exec 3>&2 2>/dev/tty; set -m; stty -a >"$1"; "$0" 2>&3; '
                   'stty -a >"$2"; fg; stty -a >"$3"; fg')
        lido, codigo = no_terminal(dict(XTERM, LC_ALL="C.UTF-8"), [
            (EDITANDO, b"(1+"), (b"(1+", b"\x1a"), (DE_VOLTA + b"(1+", b"2"),
            (b"(1+2", b"\x1a"), (DE_VOLTA + b"(1+2", b")\r"), (b"[S/N]? ", b"n\r")],
            ["/bin/bash", "-c", roteiro, PROGRAMA] + modos)
        antes, *depois = (open(nome).read() for nome in modos)
    confere(codigo == 0 and b"Resposta: 3" in lido, (codigo, lido))
    confere(depois == [antes, antes], "the terminal's mode changed")


def editor_segue_o_tamanho():
    """Every resize while a line is edited is taken in: after two, the line is drawn
    as at a terminal of that size from the start."""
    def redimensiona(colunas):
        return lambda mestre: (tamanho(colunas)(mestre), PAUSA(mestre))
    linha = b"(((((1+2)+3)+4)+5)+6)\r"  # wider than 20 columns, with its prompt
    redimensionado, _ = no_terminal(XTERM, [
        (EDITANDO, redimensiona(40)), (EDITANDO, redimensiona(20)), (EDITANDO, linha),
        (b"[S/N]? ", b"n\r")])
    estreito, _ = no_terminal(XTERM, [(EDITANDO, linha), (b"[S/N]? ", b"n\r")],
                              colunas=20)
    confere(redimensionado == estreito, (redimensionado, estreito))


def editor_espera_terminal_nao_bloqueante():
    """A terminal that another program left non-blocking is waited on."""
    deixa = ("import fcntl, os, sys; modo = fcntl.fcntl(0, fcntl.F_GETFL); "
             "fcntl.fcntl(0, fcntl.F_SETFL, modo | os.O_NONBLOCK); "
             "os.execv(sys.argv[1], sys.argv[1:])")
    lido, codigo = no_terminal(XTERM, [(EDITANDO, PAUSA), (EDITANDO, b"(1+2)\r"),
                                       (b"[S/N]? ", b"n\r")],
                               [sys.executable, "-c", deixa, PROGRAMA])
    confere(codigo == 0 and b"Resposta: 3" in lido, (codigo, lido))


def editor_terminal_que_desliga():
    """A terminal hangs up on a program that ignores SIGHUP: the editor's read fails,
    then the closing write; the failure named is the read, the first one."""
    with tempfile.NamedTemporaryFile() as erros:
        pid, mestre = pty.fork()
        if pid == 0:
            signal.signal(signal.SIGHUP, signal.SIG_IGN)
            os.dup2(os.open(erros.name, os.O_WRONLY), 2)
            os.execve(PROGRAMA, [PROGRAMA], com_perfil(XTERM))
        ate(mestre, b"Expressao: ")
        lendo(pid)
        os.close(mestre)
        codigo = os.waitstatus_to_exitcode(os.waitpid(pid, 0)[1])
        erro = erros.read()
    confere(codigo == 1, codigo)
    uma_linha_de_erro(erro, "ler")


CASOS = {f.__name__: f for f in (
    entrada_que_falha, saida_que_falha, leitor_que_vai_embora, entrada_nao_bloqueante,
    saida_nao_bloqueante_e_leitor_lento, deixa_o_resto_da_entrada, dialogo_por_pipes,
    terminal_limpa_a_tela_conforme_term, terminal_um_ctrl_d_basta)}
CASOS_DO_EDITOR = {f.__name__: f for f in (
    editor_recorda_e_edita, editor_teclas_de_escape_nada_fazem, editor_linhas_coladas,
    editor_ctrl_d_e_ctrl_c, editor_ctrl_z_e_fg, editor_segue_o_tamanho,
    editor_espera_terminal_nao_bloqueante, editor_terminal_que_desliga)}

if __name__ == "__main__":
    if PROGRAMA == "--casos":
        com_editor = sys.argv[2:] == ["com-editor"]
        print(";".join(list(CASOS) + (list(CASOS_DO_EDITOR) if com_editor else [])))
        sys.exit()
    casos = {**CASOS, **CASOS_DO_EDITOR}
    if len(sys.argv) < 3 or sys.argv[2] not in casos:
        sys.exit("usage: fluxos.py PROGRAM CASE, CASE one of: " + " ".join(casos))
    casos[sys.argv[2]]()
