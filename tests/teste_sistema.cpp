// Unit tests of the system's input and output calls on real descriptors: files,
// and on POSIX pipes that another program left non-blocking.
#include <cerrno>
#include <cstdio>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "sistema.hpp"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

std::string Le_Tudo(int descritor, std::size_t bloco) {
  std::string texto;
  char destino[1 << 16];
  long lidos = 0;
  while ((lidos = Le_Descritor(descritor, destino, bloco)) > 0) {
    texto.append(destino, static_cast<std::size_t>(lidos));
  }
  EXPECT_EQ(lidos, 0);
  return texto;
}

TEST(Devolve_Ao_Descritor, LetsTheNextReaderGoOnWhereTheProgramStopped) {
  std::FILE *arquivo = std::tmpfile();
  ASSERT_NE(arquivo, nullptr);
  const int descritor = fileno(arquivo);
  ASSERT_TRUE(Escreve_Descritor(descritor, "(1+2)\nn\nresto\n", 14));
  ASSERT_EQ(std::fseek(arquivo, 0, SEEK_SET), 0);
  char bloco[10];
  ASSERT_EQ(Le_Descritor(descritor, bloco, sizeof bloco), 10);
  Devolve_Ao_Descritor(descritor, 2); // "(1+2)\nn\nre" used up to "n\n"
  EXPECT_EQ(Le_Tudo(descritor, 3), "resto\n");
  std::fclose(arquivo);
}

#ifndef _WIN32

struct TPIPE {
  int ler, escrever;
};

TPIPE Pipe_Nao_Bloqueante(bool lado_de_leitura) {
  int pontas[2];
  EXPECT_EQ(pipe(pontas), 0);
  const int ponta = lado_de_leitura ? pontas[0] : pontas[1];
  fcntl(ponta, F_SETFL, fcntl(ponta, F_GETFL) | O_NONBLOCK);
  return {pontas[0], pontas[1]};
}

TEST(Le_Descritor, WaitsOnANonBlockingInputUntilItIsReady) {
  const TPIPE pipe = Pipe_Nao_Bloqueante(true);
  std::thread escritor([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    Escreve_Descritor(pipe.escrever, "(1+2)\n", 6);
    close(pipe.escrever);
  });
  EXPECT_EQ(Le_Tudo(pipe.ler, 100), "(1+2)\n");
  escritor.join();
  close(pipe.ler);
}

TEST(Escreve_Descritor, CompletesPartialWritesToANonBlockingOutput) {
  const TPIPE pipe = Pipe_Nao_Bloqueante(false);
  std::string texto(1 << 20, '\0');
  for (std::size_t i = 0; i < texto.size(); ++i) {
    texto[i] = static_cast<char>('a' + i % 26);
  }
  std::string recebido;
  std::thread leitor([&] {
    char bloco[4096];
    long lidos = 0;
    while ((lidos = read(pipe.ler, bloco, sizeof bloco)) > 0) {
      recebido.append(bloco, static_cast<std::size_t>(lidos));
      std::this_thread::sleep_for(std::chrono::microseconds(100)); // slower than writes
    }
  });
  EXPECT_TRUE(Escreve_Descritor(pipe.escrever, texto.data(), texto.size()));
  close(pipe.escrever);
  leitor.join();
  close(pipe.ler);
  EXPECT_TRUE(recebido == texto) << recebido.size() << " of " << texto.size();
}

TEST(Escreve_Descritor, ReportsAFullDevice) {
  const int cheio = open("/dev/full", O_WRONLY);
  ASSERT_GE(cheio, 0);
  errno = 0;
  EXPECT_FALSE(Escreve_Descritor(cheio, "abc", 3));
  EXPECT_EQ(errno, ENOSPC);
  close(cheio);
}

TEST(Le_Descritor, ReportsADescriptorThatCannotBeRead) {
  const int diretorio = open("/", O_RDONLY);
  char bloco[8];
  EXPECT_EQ(Le_Descritor(diretorio, bloco, sizeof bloco), -1);
  EXPECT_EQ(errno, EISDIR);
  close(diretorio);
  EXPECT_EQ(Le_Descritor(diretorio, bloco, sizeof bloco), -1);
  EXPECT_EQ(errno, EBADF);
}

TEST(Devolve_Ao_Descritor, LeavesAPipeAndErrnoAlone) {
  int pontas[2];
  ASSERT_EQ(pipe(pontas), 0);
  ASSERT_TRUE(Escreve_Descritor(pontas[1], "abc", 3));
  close(pontas[1]);
  errno = 0;
  Devolve_Ao_Descritor(pontas[0], 2);
  EXPECT_EQ(errno, 0);
  EXPECT_EQ(Le_Tudo(pontas[0], 8), "abc");
  close(pontas[0]);
}

#endif

} // namespace
