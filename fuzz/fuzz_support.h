#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "canvas/drawing_surface.h"
#include "output/image_export.h"
#include "platform/clock.h"
#include "platform/diagnostics.h"
#include "platform/directory.h"
#include "platform/text_files.h"
#include "run/form1.h"

namespace fof1plot::fuzz {

// Stops the fuzzer on a broken property, naming it.
[[noreturn]] inline void viola(const char* proprieta) {
  std::fprintf(stderr, "property broken: %s\n", proprieta);
  std::abort();
}

// The lines a text file holds, by the program's rule, split independently of the
// reader: CR LF, CR and LF end a line, a last line may lack its end, and only the first
// max bytes of a line are kept.
std::vector<std::string> righe_attese(std::string_view testo, std::size_t max);

// A directory of this process's own for the files an input is written to; the process's
// current directory once it exists.
const std::string& cartella_fuzz();
void scrivi_file(const std::string& path, std::string_view contenuto);

// A drawing surface that only counts what is drawn.
struct SuperficieContata : DrawingSurface {
  float TwipsPerPixelX() override { return 15; }
  float TwipsPerPixelY() override { return 15; }
  void Width(float) override {}
  void Height(float) override {}
  void Scale(float, float, float, float) override {}
  void Line(float, float, float, float, Colore colore) override { linee.push_back(colore); }
  void FillStyle(int) override {}
  void FillColor(Colore) override {}
  void Circle(float, float y, float, Colore) override { cerchi_y.push_back(y); }
  void CurrentX(float) override {}
  void CurrentY(float) override {}
  void Print(const std::string&) override {}
  void Cls() override {}
  Picture Image() override { return {}; }
  std::vector<Colore> linee;
  std::vector<float> cerchi_y;
};

struct EsportazioneNulla : ImageExport {
  void Load(const Picture&) override {}
  WriteResult WriteGif(const std::string&, bool) override { return WriteResult::kCreated; }
  bool WriteNewGif(const std::string&, bool) override { return true; }
  std::set<Colore> GifColours(const std::string&) override { return {}; }
  void Release() override {}
};

// A directory that lists nothing, locks nothing and tells no identity.
struct CartellaVuota : Directory {
  std::string Dir(const std::string&, const std::function<void(std::string_view)>&) override {
    return {};
  }
  std::optional<FileIdentity> Identity(const std::string&) override { return std::nullopt; }
  void MkDir(const std::string&) override {}
  std::string CurDir() override { return "/fuzz/"; }
  std::unique_ptr<DirectoryLock> Lock(const std::string&) override {
    return std::make_unique<DirectoryLock>();
  }
};

// Failures are part of what the fuzzers feed in; only the properties are checked.
struct DiagnosticaMuta : Diagnostics {
  void Report(const Failure&) override {}
  void Warn(const std::string&) override {}
};

struct OrologioFisso : Clock {
  std::chrono::year_month_day Date() override { return std::chrono::year{2025} / 3 / 5; }
  std::chrono::seconds Time() override { return std::chrono::hours{10}; }
  std::chrono::system_clock::time_point Now() override { return {}; }
  std::optional<std::string> TimeZone() override { return std::nullopt; }
};

// A plot window on the real text files, with the fakes above for the rest, its first
// figure begun.
struct FormFuzz {
  FormFuzz() { corsa.nuova_figura(1, std::chrono::year{2025} / 3 / 5); }
  SuperficieContata canvas;
  EsportazioneNulla wpdlx1;
  PosixTextFiles files;
  CartellaVuota directory;
  OrologioFisso clock;
  DiagnosticaMuta diagnostica;
  PosixFileWriter scrittore;
  Corsa corsa{files, directory, clock, diagnostica, scrittore};
  Form1 form{canvas, wpdlx1, corsa};
};

}  // namespace fof1plot::fuzz
