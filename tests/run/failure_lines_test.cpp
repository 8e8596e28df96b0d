#include "run/failure_lines.h"

#include <gtest/gtest.h>

namespace fof1plot {
namespace {

std::vector<std::string> testi(const RigheGuasti& guasti) {
  std::vector<std::string> righe;
  for (const RigaGuasto& r : guasti.righe()) righe.push_back(r.riga.what());
  return righe;
}

TEST(RigheGuastiTest, OneDirectorysFilesWithOneCauseAreOneLineInTheOrderTheyCame) {
  RigheGuasti guasti;
  const std::string kNegato = "Permission denied";
  for (const char* nome : {"/d/a.TXT", "/d/b.TXT", "/d/c.TXT"}) {
    EXPECT_TRUE(guasti.aggiungi(nome, "cannot read the sample file", kNegato));
  }
  EXPECT_FALSE(guasti.aggiungi("/d/b.TXT", "cannot read the sample file", "Input/output error"))
      << "a file already told of";
  guasti.aggiungi("/d/e.TXT", "cannot read the sample file", "Input/output error");
  guasti.aggiungi("/o/1.gif", "cannot write", "File too large");
  guasti.aggiungi("/o/2.gif", "cannot write", "File too large");
  guasti.aggiungi("/d/", "cannot list the sample directory", kNegato);
  guasti.aggiungi("/d/z.TXT", "cannot read the sample file", kNegato);
  guasti.aggiungi("", "cannot encode GIF", "");
  EXPECT_EQ(testi(guasti),
            (std::vector<std::string>{
                "/d/: cannot read 4 sample files (a.TXT ... z.TXT): Permission denied",
                "/d/e.TXT: cannot read the sample file: Input/output error",
                "/o/: cannot write 2 files (1.gif, 2.gif): File too large",
                "/d/: cannot list the sample directory: Permission denied", "cannot encode GIF"}));
  const std::vector<RigaGuasto> righe = guasti.righe();
  EXPECT_EQ(righe[0].file, 4);
  EXPECT_EQ(righe[1].file, 1);
  EXPECT_EQ(righe[2].file, 2);
}

TEST(RigheGuastiTest, FilesOfTheCurrentDirectoryAreToldAsThere) {
  RigheGuasti guasti;
  guasti.aggiungi("plotfoF11.gif", "cannot write", "Read-only file system");
  EXPECT_EQ(testi(guasti),
            std::vector<std::string>{"plotfoF11.gif: cannot write: Read-only file system"});
  guasti.aggiungi("plotfoF12.gif", "cannot write", "Read-only file system");
  EXPECT_EQ(testi(guasti), std::vector<std::string>{"./: cannot write 2 files (plotfoF11.gif, "
                                                    "plotfoF12.gif): Read-only file system"});
}

TEST(AlPluraleTest, TheFileNamedByItsKindOrJustFiles) {
  EXPECT_EQ(al_plurale("cannot read the sample file", 576), "cannot read 576 sample files");
  EXPECT_EQ(al_plurale("cannot open the forecast file", 2), "cannot open 2 forecast files");
  EXPECT_EQ(al_plurale("cannot write", 12), "cannot write 12 files");
}

}  // namespace
}  // namespace fof1plot
