#include "support/fakes.h"

#include <cstdio>

#include "platform/failure.h"

namespace fof1plot::test {
namespace {

std::string numero(float v) {
  char testo[32];
  std::snprintf(testo, sizeof testo, "%g", static_cast<double>(v));
  return testo;
}

class FakeTextFile : public TextFile {
 public:
  FakeTextFile(std::string path, const std::vector<std::string>& righe,
               const FakeTextFiles::Guasto* guasto)
      : path_(std::move(path)), righe_(righe), guasto_(guasto) {}
  std::string LineInput() override {
    if (Eof()) {
      throw Failure(path_, "cannot read line " + std::to_string(prossima_ + 1), "end of file");
    }
    return righe_[prossima_++];
  }
  bool Eof() override {
    if (guasto_ != nullptr && static_cast<std::size_t>(guasto_->riga) == prossima_ + 1) {
      throw Failure(path_, "cannot read line " + std::to_string(prossima_ + 1), guasto_->motivo);
    }
    return prossima_ >= righe_.size();
  }

 private:
  std::string path_;
  std::vector<std::string> righe_;
  const FakeTextFiles::Guasto* guasto_;
  std::size_t prossima_ = 0;
};

}  // namespace

std::string esadecimale(Colore colore) {
  char testo[8];
  std::snprintf(testo, sizeof testo, "#%06X", colore);
  return testo;
}

std::vector<std::string> previsione_a_zero() {
  std::string riga;
  for (int ora = 0; ora < 24; ++ora) riga += "  0.0";
  return {"forecast", riga};
}

std::vector<std::string> campione(const std::string& campo) {
  return {"Rome", "2", "3", "4", "5", "6", "2025064101500  " + campo + " 1.23"};
}

void Registro::fallisci(std::string inizio, int volta) {
  inizio_guasto_ = std::move(inizio);
  volta_guasto_ = volta;
}

void Registro::registra(std::string chiamata) {
  const bool corrisponde = volta_guasto_ >= 0 && chiamata.rfind(inizio_guasto_, 0) == 0;
  chiamate.push_back(std::move(chiamata));
  if (corrisponde && (volta_guasto_ == 0 || ++viste_ == volta_guasto_)) {
    throw Failure("injected failure");
  }
}

float FakeSurface::TwipsPerPixelX() { return 15; }
float FakeSurface::TwipsPerPixelY() { return 15; }
void FakeSurface::Width(float twips) { registra("Width " + numero(twips)); }
void FakeSurface::Height(float twips) { registra("Height " + numero(twips)); }
void FakeSurface::Scale(float x1, float y1, float x2, float y2) {
  registra("Scale " + numero(x1) + " " + numero(y1) + " " + numero(x2) + " " + numero(y2));
}
void FakeSurface::Line(float x1, float y1, float x2, float y2, Colore colore) {
  registra("Line " + numero(x1) + " " + numero(y1) + " " + numero(x2) + " " + numero(y2) + " " +
           esadecimale(colore));
}
void FakeSurface::FillStyle(int stile) { registra("FillStyle " + std::to_string(stile)); }
void FakeSurface::FillColor(Colore colore) { registra("FillColor " + esadecimale(colore)); }
void FakeSurface::Circle(float x, float y, float r, Colore colore) {
  registra("Circle " + numero(x) + " " + numero(y) + " " + numero(r) + " " + esadecimale(colore));
}
void FakeSurface::CurrentX(float x) { registra("CurrentX " + numero(x)); }
void FakeSurface::CurrentY(float y) { registra("CurrentY " + numero(y)); }
void FakeSurface::Print(const std::string& testo) { registra("Print " + testo); }
void FakeSurface::Cls() { registra("Cls"); }
Picture FakeSurface::Image() {
  registra("Image");
  return {1, 1, {0}, {0}, {}};
}
std::vector<std::string> FakeSurface::filtrate(const std::string& inizio) const {
  std::vector<std::string> scelte;
  for (const std::string& c : chiamate) {
    if (c.rfind(inizio, 0) == 0) scelte.push_back(c);
  }
  return scelte;
}

void FakeImageExport::Load(const Picture& immagine) {
  registra("Load " + std::to_string(immagine.width) + "x" + std::to_string(immagine.height));
}
WriteResult FakeImageExport::WriteGif(const std::string& path, bool flag) {
  registra("WriteGif " + path + (flag ? " True" : " False"));
  return presenti.insert(path).second ? WriteResult::kCreated : WriteResult::kReplaced;
}
bool FakeImageExport::WriteNewGif(const std::string& path, bool flag) {
  registra("WriteNewGif " + path + (flag ? " True" : " False"));
  return presenti.insert(path).second;
}
std::set<Colore> FakeImageExport::GifColours(const std::string& path) {
  registra("GifColours " + path);
  const auto voce = colori.find(path);
  if (voce != colori.end()) return voce->second;
  return {RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 0, 0)};
}
void FakeImageExport::Release() { registra("Release"); }

WriteResult FakeFileWriter::Write(const std::string& path, std::string_view bytes) {
  if (guasti.count(path) != 0) throw Failure(path, "cannot write", "Input/output error");
  const auto [voce, nuovo] = scritti.try_emplace(path, bytes);
  if (nuovo) return WriteResult::kCreated;
  if (voce->second == bytes) return WriteResult::kUnchanged;
  voce->second = bytes;
  return WriteResult::kReplaced;
}

bool FakeFileWriter::WriteNew(const std::string& path, std::string_view bytes) {
  if (scritti.count(path) != 0) return false;
  Write(path, bytes);
  return true;
}

void FakeTextFiles::aggiungi(const std::string& path, std::vector<std::string> righe) {
  file[path] = std::move(righe);
}

std::unique_ptr<TextFile> FakeTextFiles::TryOpen(const std::string& path) {
  tentativi.push_back(path);
  const auto guasto = guasti.find(path);
  if (guasto != guasti.end() && guasto->second.riga == 0) {
    throw Failure(path, "cannot open", guasto->second.motivo);
  }
  const auto trovato = file.find(path);
  if (trovato == file.end()) return nullptr;
  return std::make_unique<FakeTextFile>(path, trovato->second,
                                        guasto != guasti.end() ? &guasto->second : nullptr);
}

std::unique_ptr<TextFile> FakeTextFiles::Open(const std::string& path) {
  std::unique_ptr<TextFile> aperto = TryOpen(path);
  if (!aperto) throw Failure(path, "cannot open", "No such file or directory");
  return aperto;
}

std::string FakeDirectory::Dir(const std::string& directory,
                               const std::function<void(std::string_view)>& each_name) {
  ++elencazioni;
  const auto trovato = elenchi.find(directory);
  if (trovato == elenchi.end())
    throw Failure(directory, "cannot list", "No such file or directory");
  for (const std::string& nome : trovato->second) each_name(nome);
  return trovato->second.empty() ? std::string() : trovato->second.front();
}

std::unique_ptr<DirectoryLock> FakeDirectory::Lock(const std::string& directory) {
  bloccate.push_back(directory);
  if (guasto_lock) throw Failure(directory, "cannot lock", "another run still holds the lock");
  return std::make_unique<DirectoryLock>();
}

}  // namespace fof1plot::test
