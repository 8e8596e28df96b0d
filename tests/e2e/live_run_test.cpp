#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <regex>

#include "platform/whole_file.h"
#include "support/station_tree.h"

namespace fof1plot {
namespace {

namespace fs = std::filesystem;

// Runs of 3 January 2025 after the tree's samples (10:15 to 11:15): the first lists the
// sample directory and leaves the state of what it read, the next ones of the day take
// it and open only what arrived.
class LiveRunTest : public test::AlberoStazione {
 protected:
  test::Esito alle(const std::string& ora, const std::vector<std::string>& argomenti = {}) {
    return test::avvia_fof1plot(cartella.path(), "2025-01-03 " + ora, argomenti);
  }
  std::string passaggio() const {
    return nlohmann::json::parse(ReadWholeFile(cartella / "out/status.json"))["pass"];
  }
  std::string stato() const { return ReadWholeFile(cartella / "work/fof1plot.state"); }
  std::string valori() const { return ReadWholeFile(cartella / "out/plotfoF16.csv"); }
};

TEST_F(LiveRunTest, ARunAfterTheFirstDrawsWhatArrivedAsAFullPassWould) {
  EXPECT_NE(alle("11:59:00", {"--check"})
                .uscita.find("fof1plot.state is not there yet: the "
                             "next run is a full pass"),
            std::string::npos);
  ASSERT_EQ(alle("12:00:00").stato, 0);
  EXPECT_EQ(passaggio(), "full");
  const test::Esito verifica = alle("12:01:00", {"--check", "--full"});
  EXPECT_NE(verifica.uscita.find("fof1plot.state holds 4 samples of the six days: the next run "
                                 "reads only what arrived since"),
            std::string::npos)
      << verifica.uscita;
  ASSERT_EQ(alle("12:05:00").stato, 0);
  EXPECT_EQ(passaggio(), "live");
  campione(12, 10, " 7.5");
  ASSERT_EQ(alle("12:15:00").stato, 0);
  EXPECT_EQ(passaggio(), "live");
  const std::string dal_vivo = valori();
  EXPECT_NE(dal_vivo.find("7.5"), std::string::npos) << dal_vivo;
  EXPECT_NE(stato().find("read 2025-01-03 12 10 %207.5\n"), std::string::npos) << stato();
  ASSERT_EQ(alle("12:15:00", {"--full"}).stato, 0);
  EXPECT_EQ(passaggio(), "full");
  EXPECT_EQ(valori(), dal_vivo);
}

// The state is doctored to say 9.9 MHz at 10:15 where the sample says 4.0, then spoilt:
// a figure that shows 9.9 took a state it should have refused. Only the whole state of
// this day, directory and station file is taken.
TEST_F(LiveRunTest, AStateThatIsNotAWholeOneOfThisDayGivesAFullPass) {
  const auto riscrivi = [](const std::string& da, const std::string& a) {
    return [da, a](const test::Albero& albero) {
      const std::string path = albero.cartella / "work/fof1plot.state";
      WriteFileReplacing(path, std::regex_replace(ReadWholeFile(path), std::regex(da), a));
    };
  };
  const struct {
    const char* caso;
    std::function<void(const test::Albero&)> guasta;
    const char* passaggio;
  } kCasi[] = {
      {"a whole state of this day, taken as it stands", [](const test::Albero&) {}, "live"},
      {"cut short", riscrivi("end\n$", ""), "full"},
      {"a line spoilt", riscrivi("11 15", "11 1x"), "full"},
      {"a line too many", riscrivi("end\n$", "read\nend\n"), "full"},
      {"another version", riscrivi("state 1", "state 2"), "full"},
      {"another day", riscrivi("today 2025-01-03", "today 2025-01-02"), "full"},
      {"another sample directory", riscrivi("samples ", "samples /elsewhere"), "full"},
      {"empty", riscrivi("[^]*", ""), "full"},
      {"the station file written again",
       [](const test::Albero& albero) {
         test::scrivi(albero.cartella / "data/00-station.txt", "Rome ionosonde, again\r\n");
       },
       "full"},
      {"another station's, its sample directory's path made this one's",
       [](const test::Albero& albero) {
         // Its 10:15 sample says 9.9, as the doctored state does.
         test::Albero altra;
         altra.campione(10, 15, " 9.9");
         ASSERT_EQ(test::esegui_fof1plot(altra.cartella.path(), "2025-01-03 12:00:00"), 0);
         const std::string stato = ReadWholeFile(altra.cartella / "work/fof1plot.state");
         WriteFileReplacing(
             albero.cartella / "work/fof1plot.state",
             std::regex_replace(stato, std::regex(altra.cartella.path()), albero.cartella.path()));
       },
       "full"},
      {"another sample directory at the same path",
       [](const test::Albero& albero) {
         fs::rename(albero.cartella / "data", albero.cartella / "data.old");
         fs::copy(albero.cartella / "data.old", albero.cartella / "data");
       },
       "full"},
  };
  for (const auto& caso : kCasi) {
    SCOPED_TRACE(caso.caso);
    test::Albero albero;
    const auto alle = [&](const char* ora) {
      return test::avvia_fof1plot(albero.cartella.path(), std::string("2025-01-03 ") + ora);
    };
    ASSERT_EQ(alle("12:00:00").stato, 0);
    riscrivi("%204\\.0", "%209.9")(albero);
    caso.guasta(albero);
    const test::Esito esito = alle("12:05:00");
    EXPECT_EQ(esito.stato, 0) << esito.errori;
    const auto status = nlohmann::json::parse(ReadWholeFile(albero.cartella / "out/status.json"));
    EXPECT_EQ(status["pass"], caso.passaggio);
    const std::string csv = ReadWholeFile(albero.cartella / "out/plotfoF16.csv");
    EXPECT_EQ(csv.find("9.9") != std::string::npos, std::string(caso.passaggio) == "live") << csv;
    EXPECT_NE(csv.find("4.0") != std::string::npos, std::string(caso.passaggio) == "live") << csv;
  }
}

}  // namespace
}  // namespace fof1plot
