// Seeded fuzzing of the companion loader: a damaged log in the program folder
// loads into a companion the cockpit view can draw, with nothing of the log
// loaded before it, and every line-end variant reads as CR LF does.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "flight/gun_rounds.h"
#include "flightscreen/companion_load.h"
#include "flightscreen/flight_log_fixture.h"
#include "fuzz_damage.h"
#include "logbook/log_text.h"
#include "model/polygon_list.h"
#include "model/polygon_test_airframe.h"
#include "platform/runtime/cp932.h"
#include "view/companion_draw.h"

namespace zarv::flightscreen {
namespace {

using flight::CompanionData;
using flight::CompanionSample;
using testing::TestLog;

constexpr int kRounds = 400;

// Positions may carry the powered log's shift of a few metres.
bool Sane(double v) { return std::isfinite(v) && std::fabs(v) <= records::kLogValueLimit + 100; }

std::string LogBytes(bool powered) {
  TestLog log;
  log.Powered = powered;
  log.LastRow = 90;
  std::string bytes;
  for (const std::string& line : log.Lines()) bytes += Utf8ToCp932(line) + "\r\n";
  return bytes;
}

class CompanionFuzzTest : public testing::CompanionFolderTest {
 protected:
  // The companion drawn as the cockpit view draws it, at sample `at`.
  void Draw(int32_t at) {
    flight::UpdateCompanionPosition(*companion_, at);
    model::ProjectionRecords projection;
    model::testing::LookFrom(projection, 0, 0, 100, 0, 0, 1.0);
    view::CompanionDrawSettings settings;
    settings.RecordCount = at;
    settings.LaunchSpeed = 150;
    settings.TailplaneArea = 5;
    settings.ViewCentreX = 320;
    settings.ViewCentreY = 240;
    settings.ScreenScale = 1.0;
    settings.Shading = model::testing::StandardShading();
    model::SceneryPrismSet noPrisms;
    noPrisms.LastPrismIndex = -1;
    view::CompanionReadout readout;
    scene_->Reference = reference_;
    view::DrawAircraftModel(*companion_, settings, noPrisms, *scene_, projection, *list_, readout, picture_);
  }

  std::unique_ptr<model::ModelScene> scene_ = std::make_unique<model::ModelScene>();
  std::unique_ptr<model::PolygonList> list_ = std::make_unique<model::PolygonList>();
  Surface picture_{640, 480, 0x00FF00};
};

TEST_F(CompanionFuzzTest, DamagedLogsLoadIntoADrawableCompanion) {
  const std::string logs[2] = {LogBytes(false), LogBytes(true)};
  zarv::testing::Damage damage(512);
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE(round);
    WriteBytes(Path("1Fuzz.csv"), damage(logs[round % 2]));
    Load();
    const int32_t count = companion_->CompanionSampleCount;
    ASSERT_GE(count, 0);
    ASSERT_LE(count, CompanionData::kSampleCapacity);
    ASSERT_LE(record_->LogRowCount, CompanionData::kSampleCapacity + 40);
    for (int32_t i = 0; i < std::min(count, int32_t{100}); ++i) {
      const CompanionSample& k = companion_->Sample(i);
      for (double v : {k.CompanionAltitude, k.CompanionEast, k.CompanionNorth, k.CompanionPitch,
                       k.CompanionHeading, k.CompanionBank, k.CompanionElevator, k.CompanionInnerDeflection,
                       k.CompanionOuterDeflection, k.CompanionTipDeflection})
        ASSERT_TRUE(Sane(v)) << "sample " << i << ": " << v;
    }
    const model::CompanionOutline& o = companion_->Outline;
    const auto cells = [](const auto& grid) {
      for (double v : grid.Cells) ASSERT_TRUE(Sane(v)) << v;
    };
    cells(o.FrontFuselageX);
    cells(o.RearFuselageZ);
    cells(o.WingZ);
    cells(o.TailY);
    cells(o.NacelleX);
    for (int p = 0; p < model::PartPivotSet::kCount; ++p) {
      const model::OutlinePoint& q = o.Pivots.Points[p];
      ASSERT_TRUE(Sane(q.X) && Sane(q.Y) && Sane(q.Z)) << p;
    }
    ASSERT_TRUE(Sane(o.Pivots.FinHingeX) && Sane(o.Pivots.TailplaneHingeZ));
    if (count > 0 && round % 10 == 0) Draw(round % 2 ? 5 : 45);
  }
}

// A log whose line ends were changed on the way reads as the log it was.
TEST_F(CompanionFuzzTest, EveryLineEndReadsAsCrLf) {
  const std::string good = LogBytes(true);
  WriteBytes(Path("1Ends.csv"), good);
  Load();
  const int32_t count = companion_->CompanionSampleCount;
  const CompanionSample want = companion_->Sample(40);
  const double wingTip = companion_->Outline.WingX(8, 3);
  ASSERT_GT(count, 40);
  for (const char* end : {"\r\r\n", "\n\r", "\r", "\n"}) {
    SCOPED_TRACE(::testing::PrintToString(std::string(end)));
    WriteBytes(Path("1Ends.csv"), zarv::testing::WithLineEnds(good, end));
    Load();
    EXPECT_EQ(companion_->CompanionSampleCount, count);
    EXPECT_EQ(companion_->Sample(40).CompanionEast, want.CompanionEast);
    EXPECT_EQ(companion_->Sample(40).CompanionBank, want.CompanionBank);
    EXPECT_EQ(companion_->Outline.WingX(8, 3), wingTip);
  }
}

}  // namespace
}  // namespace zarv::flightscreen
