#include "hapi/hapi_time.h"

#include <gtest/gtest.h>

#include "hapi/hapi_request.h"

namespace fof1plot {
namespace {

// Every form a client may give, each rounded up to the whole second the records use.
TEST(HapiTimeTest, EveryFormAClientMaySend) {
  const std::pair<const char*, const char*> casi[] = {
      {"2026-12-02", "2026-12-02T00:00:00Z"},
      {"2026-12-02Z", "2026-12-02T00:00:00Z"},
      {"2026-336Z", "2026-12-02T00:00:00Z"},
      {"2024-366", "2024-12-31T00:00:00Z"},
      {"2026Z", "2026-01-01T00:00:00Z"},
      {"2026-12", "2026-12-01T00:00:00Z"},
      {"2026-12-02T10Z", "2026-12-02T10:00:00Z"},
      {"2026-12-02T10:15", "2026-12-02T10:15:00Z"},
      {"2026-336T10:15:30Z", "2026-12-02T10:15:30Z"},
      {"2026-12-02T10:15:00.000Z", "2026-12-02T10:15:00Z"},
      {"2026-12-02T10:15:00.000000001Z", "2026-12-02T10:15:01Z"},
      {"2026-12-02T10:14:59.5", "2026-12-02T10:15:00Z"},
      {"2026-12-02T24:00:00Z", "2026-12-03T00:00:00Z"},
      {"2026-12-31T23:59:60Z", "2027-01-01T00:00:00Z"},
  };
  for (const auto& [testo, atteso] : casi) {
    const auto quando = leggi_tempo_hapi(testo);
    ASSERT_TRUE(quando) << testo;
    EXPECT_EQ(tempo_hapi(*quando), atteso) << testo;
  }
}

TEST(HapiTimeTest, AnythingElseIsRefused) {
  for (const char* testo : {"",
                            "Z",
                            "26-12-02",
                            "2026-13-01",
                            "2026-02-30",
                            "2025-366",
                            "2026-000",
                            "2026-1202",
                            "2026-12-02T",
                            "2026-12-02T1",
                            "2026-12-02T25",
                            "2026-12-02T10:60",
                            "2026-12-02T24:00:01",
                            "2026-12-02T10:15:00.",
                            "2026-12-02 10:15",
                            "2026-12-02T10:15+01:00",
                            "2026-12T10",
                            "2026-12-02ZZ",
                            "2026-12-02T10:15:00Zjunk",
                            "now",
                            "-2026-12-02",
                            "9999-12-31T24:00Z"}) {
    EXPECT_FALSE(leggi_tempo_hapi(testo)) << testo;
  }
}

// Each request's code: the endpoint, the names it takes (HAPI 2's among them), and the
// faults of the query itself.
TEST(HapiRequestTest, EndpointsAndTheirParameters) {
  const std::tuple<const char*, const char*, int> casi[] = {
      {"/capabilities", "", 0},
      {"/about", "", 0},
      {"/catalog", "depth=all", 0},
      {"/info", "id=foF1", 0},
      {"/data", "dataset=foF1&start=2026Z&stop=2027Z&parameters=&format=json&include=header", 0},
      {"/data", "id=foF1&time.min=2026Z&time.max=2027Z", 0},
      {"/data", "dataset=a%2Fb&&start=x", 0},
      {"/capabilities", "x=1", 1401},
      {"/about", "dataset=foF1", 1401},
      {"/info", "dataset=foF1&start=2026Z", 1401},
      {"/data", "dataset=foF1&averagingInterval=5s", 1401},
      {"/data", "dataset=foF1&dataset=foF1", 1400},
      {"/data", "dataset=foF1&id=foF1", 1400},
      {"/data", "dataset=%G1", 1400},
      {"/data", "dataset=%4", 1400},
      {"/x_custom", "", 1400},
      {"", "", 1400},
  };
  for (const auto& [percorso, query, codice] : casi) {
    const auto richiesta = leggi_richiesta(percorso, query);
    if (codice == 0) {
      EXPECT_TRUE(std::holds_alternative<RichiestaHapi>(richiesta)) << percorso << "?" << query;
    } else {
      ASSERT_TRUE(std::holds_alternative<int>(richiesta)) << percorso << "?" << query;
      EXPECT_EQ(std::get<int>(richiesta), codice) << percorso << "?" << query;
    }
  }
  const auto richiesta = std::get<RichiestaHapi>(leggi_richiesta("/data", "id=a%2Fb+c&time.min=1"));
  EXPECT_EQ(richiesta.voce("dataset"), "a/b+c");
  EXPECT_EQ(richiesta.voce("start"), "1");
}

}  // namespace
}  // namespace fof1plot
