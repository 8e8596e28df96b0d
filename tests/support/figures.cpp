#include "support/figures.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "platform/whole_file.h"

namespace fof1plot::test {

CartellaTemporanea::CartellaTemporanea() {
  std::string modello = (std::filesystem::temp_directory_path() / "fof1plot-XXXXXX").string();
  if (::mkdtemp(modello.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = modello;
}

CartellaTemporanea::~CartellaTemporanea() {
  std::error_code ignorato;
  std::filesystem::remove_all(path_, ignorato);
}

std::string CartellaTemporanea::operator/(const std::string& nome) const {
  return path_ + "/" + nome;
}

void scrivi(const std::string& path, const std::string& contenuto) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << contenuto;
  if (!file) throw std::runtime_error("cannot write " + path);
}

bool esiste(const std::string& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0;
}

void crea_cartella(const std::string& path) { std::filesystem::create_directories(path); }

FiguraGif::FiguraGif(const std::string& path) {
  SilenceLibgd();
  if (!esiste(path)) return;
  std::string gif = ReadWholeFile(path);
  immagine_.reset(gdImageCreateFromGifPtr(static_cast<int>(gif.size()), gif.data()));
  // gdImageGetPixel answers 0 outside the clip rectangle.
  if (immagine_) gdImageSetClip(immagine_.get(), 0, 0, larghezza() - 1, altezza() - 1);
}

int FiguraGif::larghezza() const { return valida() ? gdImageSX(immagine_.get()) : 0; }
int FiguraGif::altezza() const { return valida() ? gdImageSY(immagine_.get()) : 0; }

Colore FiguraGif::pixel(int colonna, int riga) const {
  if (!valida() || colonna < 0 || riga < 0 || colonna >= larghezza() || riga >= altezza()) {
    throw std::out_of_range("no such pixel");
  }
  const int c = gdImageGetPixel(immagine_.get(), colonna, riga);
  return RGB(gdImageRed(immagine_.get(), c), gdImageGreen(immagine_.get(), c),
             gdImageBlue(immagine_.get(), c));
}

int FiguraGif::conta(Colore colore) const {
  int quanti = 0;
  for (int r = 0; r < altezza(); ++r) {
    for (int c = 0; c < larghezza(); ++c) quanti += pixel(c, r) == colore;
  }
  return quanti;
}

namespace {

// A file for a child's output, already deleted from its directory.
int file_anonimo() {
  char modello[] = "/tmp/fof1plot-out-XXXXXX";
  const int fd = ::mkstemp(modello);
  if (fd < 0) throw std::runtime_error("mkstemp failed");
  ::unlink(modello);
  return fd;
}

std::string contenuto(int fd) {
  std::string testo;
  char blocco[4096];
  ::lseek(fd, 0, SEEK_SET);
  for (ssize_t letti; (letti = ::read(fd, blocco, sizeof blocco)) > 0;) {
    testo.append(blocco, static_cast<std::size_t>(letti));
  }
  ::close(fd);
  return testo;
}

}  // namespace

Esito avvia_fof1plot(const std::string& cartella, const std::string& ora_locale,
                     const std::vector<std::string>& argomenti, bool come_nobody) {
  const int uscita = file_anonimo();
  const int errori = file_anonimo();
  std::vector<const char*> argv = {"faketime", ora_locale.c_str(), FOF1PLOT_BINARY};
  for (const std::string& a : argomenti) argv.push_back(a.c_str());
  argv.push_back(nullptr);
  const pid_t figlio = ::fork();
  if (figlio == 0) {
    ::dup2(uscita, STDOUT_FILENO);
    ::dup2(errori, STDERR_FILENO);
    if (::chdir(cartella.c_str()) != 0) ::_exit(127);
    if (come_nobody && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(127);
    ::setenv("TZ", "UTC", 1);
    ::execv(FAKETIME_BINARY, const_cast<char* const*>(argv.data()));
    ::_exit(127);
  }
  Esito esito;
  int stato = 0;
  if (figlio > 0 && ::waitpid(figlio, &stato, 0) == figlio && WIFEXITED(stato)) {
    esito.stato = WEXITSTATUS(stato);
  }
  esito.uscita = contenuto(uscita);
  esito.errori = contenuto(errori);
  return esito;
}

int esegui_fof1plot(const std::string& cartella, const std::string& ora_locale) {
  return avvia_fof1plot(cartella, ora_locale).stato;
}

std::string impostazioni_per(const std::string& cartella) {
  return "work directory\r\n" + cartella + "/work/\r\nsample directory\r\n" + cartella +
         "/data/\r\noutput directory\r\n" + cartella + "/out/\r\n";
}

}  // namespace fof1plot::test
