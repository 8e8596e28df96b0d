#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/figures.h"

namespace fof1plot {
namespace {

TEST(DemoTest, DemoTreeGivesSixFiguresWithEveryKindOfMark) {
  test::CartellaTemporanea cartella;
  const pid_t figlio = ::fork();
  if (figlio == 0) {
    ::execl(DEMO_STATION_BINARY, "fof1plot_demo_station", cartella.path().c_str(), "2025-03-02",
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  int stato = 0;
  ASSERT_EQ(::waitpid(figlio, &stato, 0), figlio);
  ASSERT_TRUE(WIFEXITED(stato) && WEXITSTATUS(stato) == 0);

  ASSERT_EQ(test::esegui_fof1plot(cartella.path(), "2025-03-02 12:00:00"), 0);
  const char* kArchivio[] = {"2025056", "2025057", "2025058", "2025059", "2025060", "2025061"};
  for (int k = 1; k <= 6; ++k) {
    const test::FiguraGif figura(cartella / ("out/plotfoF1" + std::to_string(k) + ".gif"));
    ASSERT_TRUE(figura.valida()) << "slot " << k;
    EXPECT_TRUE(test::FiguraGif(cartella / ("work/previous_foF1_plots/" +
                                            std::string(kArchivio[k - 1]) + ".gif"))
                    .valida());
    for (Colore colore : {RGB(255, 0, 0), RGB(255, 255, 255), RGB(0, 255, 0), RGB(255, 153, 0)}) {
      EXPECT_GT(figura.conta(colore), 0) << "slot " << k << " colour " << std::hex << colore;
    }
  }
}

}  // namespace
}  // namespace fof1plot
