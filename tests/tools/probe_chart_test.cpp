// zarv-probe chart: the characteristic charts of an aircraft file as text.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tools/command_output.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> ProbeLines(const std::string& args, int* status = nullptr) {
  const std::string line = std::string(ZARV_PROBE) + " chart " + args + " 2>/dev/null";
  const std::string out = zarv::testing::CommandOutput(line, status);
  std::vector<std::string> lines;
  std::istringstream in(out);
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

std::string Aircraft(const std::string& name) {
  std::string quoted = "'";
  quoted += (fs::path(ZARV_SOURCE_DIR) / "tests" / "data" / "aircraft" / name).string();
  quoted += '\'';
  return quoted;
}

std::vector<std::string> Cells(const std::string& row) {
  std::vector<std::string> cells;
  std::string cur;
  for (char c : row) {
    if (c == ',') {
      cells.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  cells.push_back(cur);
  return cells;
}

TEST(ProbeChart, AircraftChartRowsThenTheSummary) {
  const std::vector<std::string> glider = ProbeLines(Aircraft("Marden7.brd"));
  ASSERT_EQ(glider.size(), 1u + 396u + 5u);
  EXPECT_EQ(glider[0], "Step,AngleOfAttack,LiftCoefficient,LiftCoefficientPlain,DragCoefficient,LiftToDrag,RangeValue");
  for (size_t i = 1; i <= 396; ++i) {
    const std::vector<std::string> cells = Cells(glider[i]);
    ASSERT_EQ(cells.size(), 7u) << glider[i];
    EXPECT_EQ(cells[0], std::to_string(i - 1));
    EXPECT_TRUE(std::isfinite(std::stod(cells[2]))) << glider[i];
    EXPECT_EQ(cells[6], "") << "a glider plots no range";
  }
  EXPECT_EQ(glider[397], "  総重量   100Kg   100Kg  出力重量比 0.003");
  EXPECT_EQ(glider[401], "   最適滑空速度  11.4972 ｍ/ｓ(ｈ=５ｍ)");

  const std::vector<std::string> jet = ProbeLines(Aircraft("TestJet.brd"));
  ASSERT_EQ(jet.size(), 1u + 396u + 5u);
  // At -15 degrees nothing lifts: only the lift curves have points.
  EXPECT_EQ(Cells(jet[1])[4], "");
  EXPECT_NE(Cells(jet[201])[6], "");
  EXPECT_EQ(jet[397], "  総重量   7600Kg   5600Kg  出力重量比 0.632");
  EXPECT_EQ(jet[401], "Max Trim AOA 20.0  Max Lift AOA 33.3  Max Operation AOA 20.0");
}

TEST(ProbeChart, AirfoilChartAndUsage) {
  std::string args = Aircraft("Marden7.brd");
  args += " --airfoil NACA0012";
  const std::vector<std::string> section = ProbeLines(args);
  ASSERT_EQ(section.size(), 1u + 461u);
  EXPECT_EQ(section[0], "Step,AngleOfAttack,LiftCoefficient,DragCoefficient");
  // A symmetric section lifts nothing at zero angle.
  const std::vector<std::string> zero = Cells(section[21]);
  EXPECT_EQ(zero[1], "0");
  EXPECT_EQ(zero[2], "0");

  int status = 0;
  std::string bogus = Aircraft("Marden7.brd");
  bogus += " --bogus";
  EXPECT_TRUE(ProbeLines(bogus, &status).empty());
  EXPECT_EQ(status, 2);
  ProbeLines("/nonexistent/x.brd", &status);
  EXPECT_EQ(status, 1);
}

}  // namespace
