#include "support/fakes.h"

#include <gtest/gtest.h>

#include "platform/failure.h"

namespace fof1plot::test {
namespace {

TEST(FakeSurfaceTest, RecordsCallsAndFailsOnlyTheChosenOne) {
  FakeSurface superficie;
  superficie.fallisci("Line", 2);
  superficie.Line(0, 0, 1, 1, RGB(255, 0, 0));
  EXPECT_THROW(superficie.Line(2, 2, 3, 3, RGB(255, 0, 0)), Failure);
  superficie.Line(4, 4, 5, 5, RGB(255, 0, 0));
  superficie.Circle(1.5f, 45, 2, QBColor(15));
  EXPECT_EQ(superficie.chiamate,
            (std::vector<std::string>{"Line 0 0 1 1 #FF0000", "Line 2 2 3 3 #FF0000",
                                      "Line 4 4 5 5 #FF0000", "Circle 1.5 45 2 #FFFFFF"}));
}

TEST(FakeSurfaceTest, FailsEveryMatchingCallWhenToldSo) {
  FakeSurface superficie;
  superficie.fallisci("Print", 0);
  EXPECT_THROW(superficie.Print("a"), Failure);
  EXPECT_THROW(superficie.Print("b"), Failure);
  EXPECT_NO_THROW(superficie.Cls());
}

TEST(FakeTextFilesTest, ReadsLinesThenFailsAndRecordsAttempts) {
  FakeTextFiles files;
  files.aggiungi("a.txt", {"uno"});
  const auto file = files.Open("a.txt");
  EXPECT_EQ(file->LineInput(), "uno");
  EXPECT_THROW(file->LineInput(), Failure);
  EXPECT_THROW(files.Open("b.txt"), Failure);
  EXPECT_EQ(files.tentativi, (std::vector<std::string>{"a.txt", "b.txt"}));
}

}  // namespace
}  // namespace fof1plot::test
