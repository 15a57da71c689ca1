// A flight longer than the recorder's ring (3000 s): past row 60000 the
// recorder goes on at 30000, over samples of the lap before. The log it
// files must still end with the touch-down.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "flight/headless_flight.h"
#include "flight/loop_fixture.h"
#include "logbook/flight_log.h"
#include "logbook/post_flight.h"
#include "platform/runtime/cp932.h"
#include "platform/runtime/text.h"
#include "records_fixture.h"

namespace zarv::records {
namespace {

using testing::Bytes;
using testing::SplitLines;

class WrappedRecord : public zarv::testing::ProgramTest {};

TEST_F(WrappedRecord, ItsLogEndsWithTheLatestSample) {
  // Launched from 1100 m, this glider stays up for some 3030 s.
  std::vector<std::string> lines = flight::testing::SampleLines("Super ZarvⅣ");
  flight::testing::SetField(lines, 30, "1100");
  auto f = std::make_unique<flight::HeadlessFlight>(flight::testing::FromLines(lines));
  ASSERT_TRUE(f->Accepted());
  ASSERT_EQ(f->Fly(0), "water");
  ASSERT_GT(f->State.Loop.FlightTime, 3000);  // the ring has wrapped
  const int32_t latest = f->Record.LastRecorded;
  ASSERT_GT(latest, flight::kRecordWrapTo);
  ASSERT_LT(latest, flight::kRecordWrapAt);
  // The row after the latest holds a sample from a lap earlier, high up.
  ASSERT_GT(f->Record.Samples[static_cast<size_t>(latest) + 1].Height, 100);

  EndFlightRecordSteps(f->State, f->Record, f->Aircraft);
  const FlightResult result = PrepareFlightResult(f->State, f->Record, f->Aircraft, "07-04-2026   12:00:00");
  const std::string path = Path("before.csv");
  ASSERT_TRUE(WritePostFlightLog(path, f->State, f->Record, f->Aircraft, f->Outline, result));

  const std::vector<std::string> log = SplitLines(Bytes(path));
  ASSERT_GT(log.size(), 4u);
  EXPECT_EQ(Val(log[1]), latest);
  ASSERT_GT(log.size(), static_cast<size_t>(latest) + 5);
  // Every row a real sample: the first half in time order (row 0 is the
  // launch's; where the step counter wraps two samples lie one step apart),
  // then the ring's rows of the last lap, the touch-down last.
  double previous = Val(log[5]);
  for (int32_t i = 2; i <= latest; ++i) {
    const double t = Val(log[static_cast<size_t>(i) + 4]);
    if (i != flight::kRecordWrapTo) {
      ASSERT_GE(t, previous) << "row " << i;
      ASSERT_LE(t, previous + 0.051) << "row " << i;
    }
    previous = t;
  }
  EXPECT_NEAR(previous, f->State.Loop.FlightTime - f->State.Ground.LaunchTime, 0.1);
  const std::string& last = log[static_cast<size_t>(latest) + 4];
  const double height = Val(last.substr(last.find(',', last.find(',') + 1) + 1));
  EXPECT_LT(height, 0);
  EXPECT_GT(height, -1);
  // After the rows: the outline (no engine, no trailer).
  EXPECT_EQ(log[static_cast<size_t>(latest) + 5], Utf8ToCp932(kCoordinateTitle));
}

}  // namespace
}  // namespace zarv::records
