// A program state of its own, the two chart grounds and a steady 400-sample
// flight (5 m high, lift 1: altitude on row 60) for the chart-drawing tests.
#pragma once

#include <memory>

#include "logbook/records_fixture.h"
#include "platform/ui/app.h"
#include "program_test.h"
#include "records/flight_data_charts.h"

namespace zarv::records::testing {

class SteadyChartTest : public zarv::testing::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    Application::Ensure();
    DrawTimeTile(timeTile);
    DrawDistanceTile(distanceTile);
    record = SteadyRecord(400);
    in.Record = record.get();
    in.SampleCount = 400;
  }
  Surface timeTile, distanceTile;
  std::unique_ptr<flight::FlightRecord> record;
  ChartInputs in;
};

}  // namespace zarv::records::testing
