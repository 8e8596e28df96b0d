#include "hapi/hapi_server.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <nlohmann/json.hpp>

#include "support/figures.h"

namespace fof1plot {
namespace {

using namespace std::chrono;
using json = nlohmann::json;
using test::CartellaTemporanea;
using test::crea_cartella;
using test::scrivi;

constexpr char kIntestazione[] = "time_utc,foF1_MHz,field,forecast_MHz,deviation_MHz\n";

// A station's published directory: 30 November archived by 1.4.0 (three columns, and a
// stray row of the next day), 1 December, 2 December archived early and published
// since with more rows, December's hourly.csv, and status.json with a description.
void scrivi_stazione(const std::string& out, const std::string& nome) {
  crea_cartella(out);
  for (const char* cartella :
       {"/archive", "/archive/2026", "/archive/2026/11", "/archive/2026/12"}) {
    crea_cartella(out + cartella);
  }
  scrivi(out + "/archive/2026/11/30.csv",
         "time_utc,foF1_MHz,field\n2026-11-30T10:00:00Z,4.1,4.1\n2026-11-30T10:15:00Z,,N/A\n"
         "2026-12-01T10:00:00Z,9.9,9.9\n");
  scrivi(out + "/archive/2026/12/01.csv",
         std::string(kIntestazione) +
             "2026-12-01T10:00:00Z,4.9,4.9,5.20,-0.30\n2026-12-01T10:15:00Z,,\"a,\"\"b\",5.20,\n"
             "2026-12-01T23:45:00Z,,NO,0.00,\n");
  scrivi(out + "/archive/2026/12/02.csv",
         std::string(kIntestazione) + "2026-12-02T10:00:00Z,5.0,5.0,5.20,-0.20\n");
  scrivi(out + "/plotfoF16.csv", std::string(kIntestazione) +
                                     "2026-12-02T10:00:00Z,5.0,5.0,5.20,-0.20\n"
                                     "2026-12-02T10:15:00Z,5.3,5.3,5.20,0.10\n");
  std::string orario =
      "hour_utc,count,median_MHz,lower_quartile_MHz,upper_quartile_MHz,forecast_MHz,"
      "median_minus_forecast_MHz\n";
  for (int ora = 0; ora < 24; ++ora) {
    orario += std::to_string(ora) + ",0,,,," + (ora == 10 ? "5.2" : ora == 11 ? "" : "0.0") + ",\n";
  }
  scrivi(out + "/archive/2026/12/hourly.csv", orario);
  scrivi(out + "/status.json", json{{"program", "fof1plot"},
                                    {"generated", "2026-12-02T10:20:00Z"},
                                    {"exit_status", 0},
                                    {"usual_interval_seconds", 900},
                                    {"station", nome},
                                    {"station_description",
                                     {{"ursi_code", "RO041"},
                                      {"name", nome},
                                      {"latitude", 41.9},
                                      {"longitude", 12.5},
                                      {"elevation_m", 60},
                                      {"institution", nullptr},
                                      {"licence", "https://creativecommons.org/licenses/by/4.0/"},
                                      {"contact", "ionosonde@example.org"}}}}
                                   .dump());
}

struct Risposta {
  std::string stato;  // "200 OK; HAPI 1200 OK"
  std::string tipo;
  std::string corpo;
  int uscita = 0;
  int http() const { return std::stoi(stato.substr(0, 3)); }
  int hapi() const {
    const auto dove = stato.find("HAPI ");
    return dove == std::string::npos ? 0 : std::stoi(stato.substr(dove + 5, 4));
  }
};

Risposta chiedi(const ServerHapi& server, const std::string& percorso, const std::string& query,
                const std::string& metodo = "GET") {
  char* testo = nullptr;
  std::size_t lunghezza = 0;
  std::FILE* uscita = ::open_memstream(&testo, &lunghezza);
  Risposta r;
  r.uscita = servi_hapi(server, {metodo, percorso, query, "/hapi" + percorso + "?" + query}, uscita,
                        sys_days{2026y / December / 2} + hours{10} + minutes{20});
  std::fclose(uscita);
  const std::string tutto(testo, lunghezza);
  std::free(testo);
  const std::size_t fine = tutto.find("\n\n");
  EXPECT_NE(fine, std::string::npos) << tutto;
  for (std::size_t i = 0; i < fine;) {
    const std::size_t a = tutto.find('\n', i);
    const std::string riga = tutto.substr(i, a - i);
    if (riga.rfind("Status: ", 0) == 0) r.stato = riga.substr(8);
    if (riga.rfind("Content-Type: ", 0) == 0) r.tipo = riga.substr(14);
    i = a + 1;
  }
  r.corpo = tutto.substr(fine + 2);
  return r;
}

class HapiServerTest : public ::testing::Test {
 protected:
  HapiServerTest() { scrivi_stazione(cartella / "out", "Rome"); }
  Risposta dati(const std::string& query) {
    return chiedi(server, "/data", "dataset=foF1&" + query);
  }

  CartellaTemporanea cartella;
  ServerHapi server{{cartella / "out", ""}, "", "", ""};
};

// A sounding at T is in [T, T + 15 min) and in no range that ends at T; adjacent ranges
// add up to the whole, across midnight and whatever forms their times take.
TEST_F(HapiServerTest, RangesAreStartInclusiveStopExclusive) {
  Risposta r = dati("start=2026-12-01T10:00Z&stop=2026-12-01T10:15Z");
  EXPECT_EQ(r.stato, "200 OK; HAPI 1200 OK");
  EXPECT_EQ(r.tipo, "text/csv; charset=utf-8");
  EXPECT_EQ(r.corpo, "2026-12-01T10:00:00Z,4.9,4.9,5.20,-0.30\n");
  EXPECT_EQ(dati("start=2026-335T09:59:59.9&stop=2026-12-01T10:00:00.001").corpo,
            "2026-12-01T10:00:00Z,4.9,4.9,5.20,-0.30\n");
  const std::string tutto = dati("start=2026-11-30&stop=2026-12-03").corpo;
  EXPECT_EQ(tutto,
            "2026-11-30T10:00:00Z,4.1,4.1,-1e31,-1e31\n"
            "2026-11-30T10:15:00Z,-1e31,N/A,-1e31,-1e31\n"
            "2026-12-01T10:00:00Z,4.9,4.9,5.20,-0.30\n"
            "2026-12-01T10:15:00Z,-1e31,\"a,\"\"b\",5.20,-1e31\n"
            "2026-12-01T23:45:00Z,-1e31,NO,0.00,-1e31\n"
            "2026-12-02T10:00:00Z,5.0,5.0,5.20,-0.20\n"
            "2026-12-02T10:15:00Z,5.3,5.3,5.20,0.10\n");
  for (const char* b : {"2026-11-30T10:15Z", "2026-12-01", "2026-12-01T10:00:00Z",
                        "2026-12-01T23:45:00Z", "2026-336T10:15Z"}) {
    EXPECT_EQ(dati(std::string("start=2026-11-30&stop=") + b).corpo +
                  dati(std::string("start=") + b + "&stop=2026-12-03").corpo,
              tutto)
        << b;
  }
}

TEST_F(HapiServerTest, AnEmptyRangeIsAnEmptyBody) {
  const Risposta r = dati("start=2026-12-01T10:01Z&stop=2026-12-01T10:15Z");
  EXPECT_EQ(r.stato, "200 OK; HAPI 1201 OK - no data for time range");
  EXPECT_EQ(r.corpo, "");
  const json j = json::parse(dati("start=2026-12-01T11Z&stop=2026-12-01T12Z&format=json").corpo);
  EXPECT_EQ(j["status"]["code"], 1201);
  EXPECT_TRUE(j["data"].empty());
}

// Subsets, JSON and the header all describe the same columns.
TEST_F(HapiServerTest, ParametersFormatsAndHeader) {
  EXPECT_EQ(dati("parameters=field&start=2026-12-01T10Z&stop=2026-12-01T11Z").corpo,
            "2026-12-01T10:00:00Z,4.9\n2026-12-01T10:15:00Z,\"a,\"\"b\"\n");
  EXPECT_EQ(
      dati("parameters=Time,foF1,foF1_deviation&start=2026-12-01T10Z&stop=2026-12-01T10:01Z").corpo,
      "2026-12-01T10:00:00Z,4.9,-0.30\n");
  const json j = json::parse(
      dati("parameters=foF1,field&start=2026-12-01T10Z&stop=2026-12-01T11Z&format=json").corpo);
  EXPECT_EQ(j["HAPI"], "3.3");
  EXPECT_EQ(j["format"], "json");
  ASSERT_EQ(j["parameters"].size(), 3u);
  EXPECT_EQ(j["parameters"][2]["name"], "field");
  EXPECT_EQ(j["data"], json::parse(R"([["2026-12-01T10:00:00Z",4.9,"4.9"],
                                       ["2026-12-01T10:15:00Z",-1e31,"a,\"b"]])"));
  const std::string con_intestazione =
      dati("start=2026-12-01T10Z&stop=2026-12-01T10:01Z&include=header").corpo;
  std::string intestazione, righe;
  for (std::size_t i = 0; i < con_intestazione.size();) {
    const std::size_t a = con_intestazione.find('\n', i) + 1;
    const std::string riga = con_intestazione.substr(i, a - i);
    (riga[0] == '#' ? intestazione += riga.substr(1) : righe += riga);
    i = a;
  }
  const json info = json::parse(intestazione);
  EXPECT_EQ(info["format"], "csv");
  EXPECT_EQ(info["parameters"],
            json::parse(chiedi(server, "/info", "dataset=foF1").corpo)["parameters"]);
  EXPECT_EQ(righe, "2026-12-01T10:00:00Z,4.9,4.9,5.20,-0.30\n");
}

// Each refusal with its HTTP status and HAPI code, and none repeats what the client sent.
TEST_F(HapiServerTest, RefusalsCarryTheirCodes) {
  const std::tuple<const char*, const char*, int, int> casi[] = {
      {"/data", "dataset=foF2&start=2026-12-01&stop=2026-12-02", 404, 1406},
      {"/info", "dataset=foF2", 404, 1406},
      {"/data", "dataset=foF1&start=2026-12-01T1x&stop=2026-12-02", 400, 1402},
      {"/data", "dataset=foF1&start=2026-12-01&stop=tomorrow", 400, 1403},
      {"/data", "dataset=foF1&start=2026-12-02&stop=2026-12-02", 400, 1404},
      {"/data", "dataset=foF1&start=2026-12-03&stop=2026-12-02", 400, 1404},
      {"/data", "dataset=foF1&start=2025-01-01&stop=2025-02-01", 400, 1405},
      {"/data", "dataset=foF1&start=2026-12-03&stop=2027-01-01", 400, 1405},
      {"/data", "dataset=foF1&start=2026-12-01&stop=2026-12-02&secret=x", 400, 1401},
      {"/data", "dataset=foF1&start=2026-12-01&stop=2026-12-02&parameters=foF2", 404, 1407},
      {"/info", "dataset=foF1&parameters=secret", 404, 1407},
      {"/data", "dataset=foF1&start=2026-12-01&stop=2026-12-02&parameters=field,foF1", 400, 1411},
      {"/data", "dataset=foF1&start=2026-12-01&stop=2026-12-02&parameters=foF1,foF1", 400, 1411},
      {"/data", "dataset=foF1&start=2026-12-01&stop=2026-12-02&format=binary", 400, 1409},
      {"/data", "dataset=foF1&start=2026-12-01&stop=2026-12-02&include=secret", 400, 1410},
      {"/data", "dataset=foF1&stop=2026-12-02", 400, 1400},
      {"/data", "start=2026-12-01&stop=2026-12-02", 400, 1400},
      {"/catalog", "depth=secret", 400, 1413},
      {"/info", "dataset=foF1&resolve_references=secret", 400, 1412},
      {"/secret", "", 400, 1400},
  };
  for (const auto& [percorso, query, http, codice] : casi) {
    const Risposta r = chiedi(server, percorso, query);
    EXPECT_EQ(r.http(), http) << percorso << "?" << query;
    EXPECT_EQ(r.hapi(), codice) << percorso << "?" << query;
    EXPECT_EQ(r.tipo, "application/json");
    const json j = json::parse(r.corpo);
    EXPECT_EQ(j["status"]["code"], codice);
    EXPECT_EQ(r.corpo.find("secret"), std::string::npos) << r.corpo;
    EXPECT_EQ(r.corpo.find("tomorrow"), std::string::npos) << r.corpo;
  }
}

TEST_F(HapiServerTest, MetadataEndpoints) {
  const json capacita = json::parse(chiedi(server, "/capabilities", "").corpo);
  EXPECT_EQ(capacita["outputFormats"], json::parse(R"(["csv","json"])"));
  const json about = json::parse(chiedi(server, "/about", "").corpo);
  EXPECT_EQ(about["id"], "fof1plot/RO041");
  EXPECT_EQ(about["contact"], "ionosonde@example.org");
  const json catalogo = json::parse(chiedi(server, "/catalog", "").corpo);
  EXPECT_EQ(catalogo["catalog"], json::parse(R"([{"id":"foF1"},{"id":"foF1_forecast"}])"));
  const json info = json::parse(chiedi(server, "/info", "dataset=foF1").corpo);
  EXPECT_EQ(info["status"]["code"], 1200);
  EXPECT_EQ(info["startDate"], "2026-11-30T00:00:00Z");
  EXPECT_EQ(info["stopDate"], "2026-12-03T00:00:00Z");
  EXPECT_EQ(info["geoLocation"], json::parse("[12.5, 41.9, 60]"));
  EXPECT_EQ(info["cadence"], "PT900S");
  EXPECT_EQ(info["licenseURL"], "https://creativecommons.org/licenses/by/4.0/");
  EXPECT_EQ(info["x_station"]["ursi_code"], "RO041");
  const json tutto = json::parse(chiedi(server, "/catalog", "depth=all").corpo);
  EXPECT_EQ(tutto["catalog"][1]["info"]["startDate"], "2026-12-01T00:00:00Z");
  EXPECT_EQ(tutto["catalog"][1]["info"]["stopDate"], "2027-01-01T00:00:00Z");
  const json sottoinsieme = json::parse(chiedi(server, "/info", "id=foF1&parameters=foF1").corpo);
  EXPECT_EQ(sottoinsieme["parameters"].size(), 2u);
}

// Each hour of each day of December from its hourly.csv; an empty hour is fill.
TEST_F(HapiServerTest, TheForecastHourByHour) {
  const Risposta r =
      chiedi(server, "/data", "dataset=foF1_forecast&start=2026-12-05T09:30Z&stop=2026-12-05T12Z");
  EXPECT_EQ(r.corpo, "2026-12-05T10:00:00Z,5.2\n2026-12-05T11:00:00Z,-1e31\n");
  const Risposta giorno =
      chiedi(server, "/data", "dataset=foF1_forecast&start=2026-12-31&stop=2027-01-01");
  EXPECT_EQ(std::count(giorno.corpo.begin(), giorno.corpo.end(), '\n'), 24);
}

TEST_F(HapiServerTest, MethodsAndTrailingSlashes) {
  EXPECT_EQ(chiedi(server, "/data", "dataset=foF1", "POST").http(), 405);
  const Risposta testa =
      chiedi(server, "/data", "dataset=foF1&start=2026-12-01&stop=2026-12-02", "HEAD");
  EXPECT_EQ(testa.stato, "200 OK; HAPI 1200 OK");
  EXPECT_EQ(testa.corpo, "");
  EXPECT_EQ(chiedi(server, "/info/", "dataset=foF1").stato, "301 Moved Permanently");
}

// A file that is there and cannot be read is a 1500 and a line on stderr, not a day
// without records.
TEST_F(HapiServerTest, AnUnreadableDayIsAServerError) {
  scrivi(cartella / "out/archive/2026/12/01.csv", std::string(2 << 20, 'x'));
  testing::internal::CaptureStderr();
  const Risposta r = dati("start=2026-12-01&stop=2026-12-02");
  const std::string errore = testing::internal::GetCapturedStderr();
  EXPECT_EQ(r.uscita, 1);
  EXPECT_EQ(r.http(), 500);
  EXPECT_EQ(json::parse(r.corpo)["status"]["code"], 1500);
  EXPECT_NE(errore.find("01.csv"), std::string::npos) << errore;
}

// A network serves each station's copy as its own datasets; a link or a name that is
// not a plain word is not a station.
TEST(HapiNetworkTest, EveryStationItsDatasets) {
  CartellaTemporanea rete;
  scrivi_stazione(rete / "rome", "Rome");
  scrivi_stazione(rete / "gibilmanna", "Gibilmanna");
  scrivi(rete / "gibilmanna/archive/2026/12/01.csv",
         std::string(kIntestazione) + "2026-12-01T10:00:00Z,3.3,3.3,5.20,-1.90\n" +
             "2026-12-01T10:15:00Z,03.3,03.3,+5.2,1e5\n");
  ASSERT_EQ(::symlink((rete / "rome").c_str(), (rete / "link").c_str()), 0);
  crea_cartella(rete / "a b");
  const ServerHapi server{{"", rete.path()}, "", "", ""};
  const json catalogo = json::parse(chiedi(server, "/catalog", "").corpo);
  EXPECT_EQ(catalogo["catalog"], json::parse(R"([{"id":"gibilmanna/foF1"},
      {"id":"gibilmanna/foF1_forecast"},{"id":"rome/foF1"},{"id":"rome/foF1_forecast"}])"));
  EXPECT_EQ(chiedi(server, "/data",
                   "dataset=gibilmanna%2FfoF1&start=2026-12-01T10Z&stop=2026-12-01T10:01Z")
                .corpo,
            "2026-12-01T10:00:00Z,3.3,3.3,5.20,-1.90\n");
  // What another host's copy holds beyond the day CSV's numbers is fill, so that JSON
  // stays JSON.
  const json dati_json = json::parse(
      chiedi(server, "/data",
             "dataset=gibilmanna/foF1&start=2026-12-01T10:15Z&stop=2026-12-01T10:16Z&format=json")
          .corpo);
  EXPECT_EQ(dati_json["data"],
            json::parse(R"([["2026-12-01T10:15:00Z",-1e31,"03.3",-1e31,-1e31]])"));
  EXPECT_EQ(chiedi(server, "/info", "dataset=link/foF1").hapi(), 1406);
  EXPECT_EQ(json::parse(chiedi(server, "/about", "").corpo)["title"],
            "foF1 of the network " + rete.path().substr(rete.path().rfind('/') + 1));
}

}  // namespace
}  // namespace fof1plot
