#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "model/outline_print.h"

namespace zarv::model {
namespace {

TEST(OutlinePrintTest, GridsPivotsAndHingesInOrder) {
  AirframeOutline o;
  o.FrontFuselageX(0, 1) = 0.1;
  o.WingZ(8, 7) = -2.5;
  o.NacelleX(12, 11) = 7;
  o.PartPivots.FinPivot2 = {1, -0.5, 0.3};
  o.TailplaneHingeY = -3.5;
  std::ostringstream out;
  PrintOutline(out, o);
  std::istringstream in(out.str());
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);

  // 12x8 + 5x8 + 9x8 + 12x6 + 13x12 grid points, 14 pivots, 4 hinge values.
  ASSERT_EQ(lines.size(), 436u + 14u + 4u);
  EXPECT_EQ(lines[1], "FrontFuselage 0 1 0.1 0 0");  // station-major, shortest exact numbers
  EXPECT_EQ(lines[96], "RearFuselage 0 0 0 0 0");
  EXPECT_EQ(lines[96 + 40 + 71], "Wing 8 7 0 0 -2.5");
  EXPECT_EQ(lines[208], "Tail 0 0 0 0 0");
  EXPECT_EQ(lines[435], "Nacelle 12 11 7 0 0");
  EXPECT_EQ(lines[436], "Pivot ForeFrontFuselagePivot 0 0 0");
  EXPECT_EQ(lines[446], "Pivot FinPivot2 1 -0.5 0.3");
  EXPECT_EQ(lines[450], "TailplaneHingeY -3.5");
  EXPECT_EQ(lines[453], "FinHingeY 0");
}

}  // namespace
}  // namespace zarv::model
