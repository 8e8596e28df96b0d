#pragma once

#include <chrono>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "canvas/drawing_surface.h"
#include "output/image_export.h"
#include "platform/clock.h"
#include "platform/diagnostics.h"
#include "platform/directory.h"
#include "platform/file_writer.h"
#include "platform/text_files.h"

namespace fof1plot::test {

// Records calls as text lines ("Line 0 0 242 0 #FFFF00") and fails the ones it is told
// to: the n-th call whose record starts with a given text, or every such call (n = 0).
class Registro {
 public:
  void fallisci(std::string inizio, int volta = 1);
  std::vector<std::string> chiamate;

 protected:
  void registra(std::string chiamata);

 private:
  std::string inizio_guasto_;
  int volta_guasto_ = -1;
  int viste_ = 0;
};

// A drawing surface that draws nothing and records every call.
class FakeSurface : public DrawingSurface, public Registro {
 public:
  float TwipsPerPixelX() override;
  float TwipsPerPixelY() override;
  void Width(float twips) override;
  void Height(float twips) override;
  void Scale(float x1, float y1, float x2, float y2) override;
  void Line(float x1, float y1, float x2, float y2, Colore colore) override;
  void FillStyle(int stile) override;
  void FillColor(Colore colore) override;
  void Circle(float x, float y, float r, Colore colore) override;
  void CurrentX(float x) override;
  void CurrentY(float y) override;
  void Print(const std::string& testo) override;
  void Cls() override;
  // A picture of one black pixel.
  Picture Image() override;
  // Hints are kept apart from the calls, which they do not paint.
  void ToolTipText(const std::string& testo) override { suggerimenti.push_back(testo); }
  std::vector<std::string> suggerimenti;

  // The recorded calls that start with a given text.
  std::vector<std::string> filtrate(const std::string& inizio) const;
};

// An image exporter that records its calls.
class FakeImageExport : public ImageExport, public Registro {
 public:
  // Records "Load <width>x<height>".
  void Load(const Picture& immagine) override;
  WriteResult WriteGif(const std::string& path, bool flag) override;
  bool WriteNewGif(const std::string& path, bool flag) override;
  // Records "GifColours <path>" and gives the colours set for path; by default those of a
  // figure with its curve and values.
  std::set<Colore> GifColours(const std::string& path) override;
  void Release() override;
  // The files already there, which every write adds to.
  std::set<std::string> presenti;
  std::map<std::string, std::set<Colore>> colori;
};

// Text files held in memory as lines; every open attempt is recorded in order. A read
// past the last line fails as on disk, naming the file and the line. A file can be told
// to fail its open or the read of one of its lines with a system's reason.
class FakeTextFiles : public TextFiles {
 public:
  struct Guasto {
    int riga;  // 0 fails the open
    std::string motivo;
  };
  void aggiungi(const std::string& path, std::vector<std::string> righe);
  std::unique_ptr<TextFile> TryOpen(const std::string& path) override;
  std::unique_ptr<TextFile> Open(const std::string& path) override;
  std::map<std::string, std::vector<std::string>> file;
  std::map<std::string, Guasto> guasti;
  std::vector<std::string> tentativi;
};

// A directory whose listings are given, in their own order, the first name standing
// for the station file; listings are counted, locks recorded, and a lock fails when
// told; identities are given for the paths set.
class FakeDirectory : public Directory {
 public:
  std::string Dir(const std::string& directory,
                  const std::function<void(std::string_view)>& each_name) override;
  // The identities set for paths; none for the others.
  std::optional<FileIdentity> Identity(const std::string& path) override {
    const auto trovata = identita.find(path);
    return trovata == identita.end() ? std::nullopt : std::optional(trovata->second);
  }
  std::map<std::string, FileIdentity> identita;
  std::string CurDir() override { return corrente; }
  void MkDir(const std::string& path) override { create.push_back(path); }
  std::unique_ptr<DirectoryLock> Lock(const std::string& directory) override;
  std::map<std::string, std::vector<std::string>> elenchi;
  std::string corrente = "/home/op/";
  std::vector<std::string> create;
  int elencazioni = 0;
  std::vector<std::string> bloccate;
  bool guasto_lock = false;
};

// Records each reported failure as its line, "path: what failed: reason", and each
// warning.
class FakeDiagnostics : public Diagnostics {
 public:
  void Report(const Failure& failure) override { righe.push_back(failure.what()); }
  void Warn(const std::string& text) override { avvisi.push_back(text); }
  std::vector<std::string> righe;
  std::vector<std::string> avvisi;
};

// A clock on a fixed day, at 10:00 UTC, that counts how often the date is read.
class FixedClock : public Clock {
 public:
  explicit FixedClock(std::chrono::year_month_day oggi) : oggi(oggi) {}
  std::chrono::year_month_day Date() override {
    ++letture;
    return oggi;
  }
  std::chrono::seconds Time() override { return std::chrono::hours{10}; }
  std::chrono::system_clock::time_point Now() override {
    return std::chrono::sys_days{oggi} + std::chrono::hours{10};
  }
  std::optional<std::string> TimeZone() override { return fuso; }
  std::chrono::year_month_day oggi;
  std::optional<std::string> fuso = "UTC";
  int letture = 0;
};

// Files written in memory; a write fails when its path is told to.
class FakeFileWriter : public FileWriter {
 public:
  WriteResult Write(const std::string& path, std::string_view bytes) override;
  bool WriteNew(const std::string& path, std::string_view bytes) override;
  void Link(const std::string& from, const std::string& to) override { collegati[to] = from; }
  void RemoveTemporaries(const std::string& directory,
                         const std::set<std::string>& leftovers = {}) override {
    ripuliti.push_back(directory);
    for (const std::string& nome : leftovers) avanzi.push_back(directory + nome);
  }
  std::vector<std::string> avanzi;
  std::map<std::string, std::string> scritti;
  std::vector<std::string> ripuliti;
  std::map<std::string, std::string> collegati;
  std::set<std::string> guasti;
};

// "#RRGGBB", as colours appear in the records.
std::string esadecimale(Colore colore);

// A forecast file whose line 2 holds 24 hourly values of 0.0.
std::vector<std::string> previsione_a_zero();

// A sample file of seven lines whose value field, columns 16 to 19, holds campo.
std::vector<std::string> campione(const std::string& campo);

}  // namespace fof1plot::test
