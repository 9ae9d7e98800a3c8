// The operating system's own input and output calls, the one place where POSIX and
// Windows differ.
#include "sistema.hpp"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <poll.h>
#include <sys/types.h>
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32

// The C runtime counts in int.
unsigned Limita(std::size_t tamanho) {
  return static_cast<unsigned>(tamanho < INT_MAX ? tamanho : INT_MAX);
}

long Le_Uma_Vez(int descritor, char *destino, std::size_t capacidade) {
  return _read(descritor, destino, Limita(capacidade));
}

long Escreve_Uma_Vez(int descritor, const char *origem, std::size_t tamanho) {
  return _write(descritor, origem, Limita(tamanho));
}

// Windows hands out no non-blocking standard streams: nothing to wait for.
bool Espera_Pronto(int, bool) {
  return false;
}

#else

long Le_Uma_Vez(int descritor, char *destino, std::size_t capacidade) {
  return static_cast<long>(read(descritor, destino, capacidade));
}

long Escreve_Uma_Vez(int descritor, const char *origem, std::size_t tamanho) {
  return static_cast<long>(write(descritor, origem, tamanho));
}

// A descriptor that another program left non-blocking says EAGAIN instead of
// waiting; poll does the waiting. False when even poll fails.
bool Espera_Pronto(int descritor, bool para_escrever) {
  pollfd pedido{descritor, static_cast<short>(para_escrever ? POLLOUT : POLLIN), 0};
  int pronto = 0;
  do {
    pronto = poll(&pedido, 1, -1);
  } while (pronto < 0 && errno == EINTR);
  return pronto > 0;
}

#endif

// What a call that returned -1 leaves to do: try again at once, wait and try again,
// or give up.
bool Tenta_De_Novo(int descritor, bool para_escrever) {
  if (errno == EINTR) {
    return true;
  }
  return (errno == EAGAIN || errno == EWOULDBLOCK) &&
         Espera_Pronto(descritor, para_escrever);
}

} // namespace

long Le_Descritor(int descritor, char *destino, std::size_t capacidade,
                  void (*apos_sinal)()) {
  for (;;) {
    const long lidos = Le_Uma_Vez(descritor, destino, capacidade);
    if (lidos >= 0 || !Tenta_De_Novo(descritor, false)) {
      return lidos < 0 ? -1 : lidos;
    }
    if (apos_sinal != nullptr && errno == EINTR) {
      apos_sinal();
    }
  }
}

bool Escreve_Descritor(int descritor, const char *origem, std::size_t tamanho) {
  while (tamanho > 0) {
    const long escritos = Escreve_Uma_Vez(descritor, origem, tamanho);
    if (escritos < 0) {
      if (!Tenta_De_Novo(descritor, true)) {
        return false;
      }
      continue;
    }
    origem += escritos;
    tamanho -= static_cast<std::size_t>(escritos);
  }
  return true;
}

void Devolve_Ao_Descritor(int descritor, std::size_t bytes) {
  if (bytes == 0) {
    return;
  }
  // A pipe or a terminal refuses; that is no failure of the program.
#ifdef _WIN32
  (void)_lseeki64(descritor, -static_cast<long long>(bytes), SEEK_CUR);
#else
  (void)lseek(descritor, -static_cast<off_t>(bytes), SEEK_CUR);
#endif
}

#ifdef _WIN32

namespace {

bool E_Console(DWORD qual) {
  DWORD modo = 0;
  return GetConsoleMode(GetStdHandle(qual), &modo) != 0;
}

} // namespace

// _isatty says yes for the NUL device too; only a console answers GetConsoleMode.
bool Saida_E_Tela() {
  return E_Console(STD_OUTPUT_HANDLE);
}

bool Entrada_E_Terminal() {
  return E_Console(STD_INPUT_HANDLE);
}

void Limpa_A_Tela() {
  (void)std::system("cls");
}

// Output keeps the C runtime's text mode, so "\n" leaves as "\r\n" as every Windows
// console program's does. Input keeps it on a console, where Ctrl-Z then Enter ends
// it. From a pipe or a file it is taken byte for byte, as on other systems: the line
// reader handles "\r\n" itself, a lone '\r' stays in the line, and what was read
// ahead can be given back by its exact count.
void Prepara_Fluxos_Padrao() {
  if (!Entrada_E_Terminal()) {
    (void)_setmode(0, _O_BINARY);
  }
}

#else

bool Saida_E_Tela() {
  const char *terminal = std::getenv("TERM");
  return isatty(STDOUT_FILENO) == 1 && terminal != nullptr && *terminal != '\0' &&
         std::strcmp(terminal, "dumb") != 0;
}

bool Entrada_E_Terminal() {
  return isatty(STDIN_FILENO) == 1;
}

void Limpa_A_Tela() {
  (void)Escreve_Descritor(STDOUT_FILENO, SEQUENCIA_QUE_LIMPA.data(),
                          SEQUENCIA_QUE_LIMPA.size());
}

void Prepara_Fluxos_Padrao() {}

#endif
