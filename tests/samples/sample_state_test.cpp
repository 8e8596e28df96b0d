#include "samples/sample_state.h"

#include <gtest/gtest.h>

namespace fof1plot {
namespace {

using namespace std::chrono;

std::vector<std::string> righe(const std::string& testo) {
  std::vector<std::string> divise;
  for (std::size_t inizio = 0; inizio < testo.size();) {
    const std::size_t fine = testo.find('\n', inizio);
    divise.push_back(testo.substr(inizio, fine - inizio));
    inizio = fine + 1;
  }
  return divise;
}

// Whatever bytes the station's files and paths hold, the state reads back as written.
TEST(SampleStateTest, AStateReadsBackAsWritten) {
  const sys_days oggi = year{2025} / 3 / 5;
  const StatoCampioni stato{"/srv/a dir/%x\n/",
                            oggi,
                            {1, 2, 4096, 1700000000123456789, 1700000000123456789},
                            "000 station\xC2.txt",
                            {1, 3, 25, -5, 7},
                            "Rome\x01 \"demo\"",
                            {{oggi - days{5}, 0, 0, LetturaCampione::kLetto, " N/A"},
                             {oggi, 10, 15, LetturaCampione::kLetto, "4"},
                             {oggi, 10, 30, LetturaCampione::kIncompleto, ""},
                             {oggi, 23, 59, LetturaCampione::kIlleggibile, ""}}};
  const std::string testo = testo_stato(stato);
  EXPECT_EQ(leggi_stato(righe(testo)), stato) << testo;
  EXPECT_NE(testo.find("\nread 2025-03-05 10 15 4\nincomplete 2025-03-05 10 30\n"),
            std::string::npos)
      << testo;
}

}  // namespace
}  // namespace fof1plot
