#include "view/flight_data_listing.h"

#include <cmath>
#include <string>

#include "platform/runtime/numeric.h"
#include "platform/runtime/text.h"

namespace zarv::view {

double RangeNauticalMiles(double fuel, double flow, double airSpeed, double dryMass) {
  return fuel / flow * airSpeed / 1852 * (fuel + dryMass) / (2 * fuel / 3 + dryMass);
}

namespace {

void WriteDiagnostics(PanelView& v, const flight::FlightState& s) {
  if (v.Screen.ReadWaveVolume) v.Screen.ReadWaveVolume();
  // Left outer, left inner, right inner, right outer wing section.
  const double sections[4] = {s.Panels[3].Angle, s.Panels[1].Angle, s.Panels[2].Angle, s.Panels[4].Angle};
  std::string t = " awl2 awl1 awr1 awr2\r\n";
  for (double angle : sections) {
    if (angle >= 0) t += " ";
    t += Format(angle * 57.3, "00.0");
  }
  t += "\r\n intemp =" + Format(s.InletTemperature, "#0");
  t += "\r\njoy.wXpos=" + Format(s.JoyXpos, "#0");
  t += "\r\njoy.wzpos=" + Format(s.JoyZpos, "#0");
  t += "\r\n  clk   =" + Format(s.StallRatio, "#0.0000");
  t += "\r\n   mb   =" + Format(s.ApparentMass, "0.0kg");
  t += "\r\ncpumergin=" + Format(static_cast<double>(s.WaitMs), "#0");
  v.Pages.Diagnostics = t;
}

}  // namespace

void WriteListingPages(PanelView& v, const flight::FlightState& s, bool all) {
  auto& p1 = v.Pages.Page1;
  if (v.Pages.Page1Visible || all) {
    p1[0] = " Air speed    " + Format(s.AirSpeed, "#0.0") + "m/s";
    p1[1] = " Ground speed " + Format(s.GroundSpeed, "#0.0") + "m/s";
    p1[2] = " Distance    " + Format(s.Distance, "##0.00") + "m";
    p1[3] = "     C.P     " + Format(s.CentreOfPressure, "##0.0") + "%";
    p1[4] = "     G.C     " + Format(s.CentreOfGravity, "##0.0") + "%";
    p1[5] = " Pilot G.C From 25%C";
    p1[6] = " Pitch Angle " + Format(s.PitchAngle * 57.3, "#0.00") + "°";
    p1[7] = " Path Angle  " + Format(s.PathAngle * 57.3, "#0.00") + "°";
    p1[8] = " H.S. Angle " + Format(s.ElevatorAngle * 57.3, "#0.00") + "°";
    p1[9] = " V.S. Angle  " + Format(s.RudderAngle * 57.3, "#0.00") + "°";
  }
  if (!(v.Pages.Page2Visible || all)) return;
  auto& p2 = v.Pages.Page2;
  p2[0] = "    揚力傾斜=" + Format(s.LiftSlope * 6.28 * s.SweepAreaFactor * s.LiftSlopeMachFactor, "0.000");
  p2[1] = "有効ｱｽﾍﾟｸﾄ比=" + Format(s.EffectiveAspectRatio, "##0.00");
  if (s.EngineRating >= 9000 && s.Altitude < 10) {
    p2[2] = "    浮揚速度=" + Format(s.LiftOffSpeed * 1.94, "#00") + "kt  ";
  } else {
    // A turn slower than 0.1 degree per second shows no radius.
    const double turning = Int(std::fabs(s.TurnRate * 573)) >= 1 ? 1.0 : 0.0;
    p2[2] = "    旋回半径=" + Format(turning * s.InertialSpeed / (std::fabs(s.TurnRate) + 0.00001), "####0") + "ｍ";
  }
  p2[3] = "      旋回率=" + Format(s.TurnRate * 57.3, "##0.0") + "°";
  p2[4] = "    ピッチ率=" + Format(s.PitchRate * 57.3, "##0.0") + "°";
  p2[5] = "      ヨー率=" + Format(s.YawRate * 57.3, "##0.0") + "°";
  p2[6] = "    ロール率=" + Format(s.RollRate * 57.3, "##0.0") + "°";
  p2[7] = "    横滑り角=" + Format(s.Sideslip * 57.3, "##0.0") + "°";
  p2[8] = "      加速度=" +
          Format((s.PitchCos * s.Thrust / (s.Mass + s.ApparentMass) + s.LongAccel) * 100, "####0") + "gal";
  if (v.Screen.DeveloperMode) WriteDiagnostics(v, s);
}

void WriteListingPage3(PanelView& v, const flight::FlightState& s, const aircraft::AircraftData&) {
  if (!(s.Altitude > 0 || v.Pages.Page3Visible)) return;
  auto& p3 = v.Pages.Page3;
  const double flow = ShownFuelFlow(s);
  if (s.Altitude > 0 && flow > 0.001 && s.EngineRating >= 9000) {
    p3[0] = "航続可能距離=" + Format(RangeNauticalMiles(s.FuelQuantity, flow, s.AirSpeed, s.DryMass), "#####0") + "nm";
  }
  p3[1] = "　　　　推力=" + Format(s.Thrust / 1000, "##0.00") + "kN";
  p3[2] = "　Fuel Flow=" + Format(flow * 7929.515, "####0");
  if (flow < 0.1) p3[2] += "lb/h";
  if ((s.EngineType == "jet" || s.EngineType == "roket") && s.Thrust > 0) {
    p3[3] = "        SFC=" + Format(flow * 35280 / s.Thrust, "0.000");
  } else {
    p3[3] = "   ﾍﾟﾗ後流速=" + Format(2 * s.SlipstreamSpeed - s.AirSpeed, "##0") + "m/s";
  }
  if (s.AirSpeed < 20) {
    p3[4] = "  真対気速度=" + Format(s.AirSpeed, "##0.0") + "m/s";
  } else if (s.AirSpeed < 5000) {
    p3[4] = "  真対気速度=" + Format(s.AirSpeed * 3.6, "##0.0") + "km/h";
  } else {
    p3[4] = "  真対気速度=" + Format(s.AirSpeed / 1000, "#0.0000") + "km/s";
  }
  if (s.EngineType == "pist") {
    // No propeller diameter, no blade angle to show.
    const double blade = s.PropellerDiameter > 0
                             ? std::atan(s.PropellerAngle / 3.1415926 / s.PropellerDiameter / 0.7) * 57.3
                             : 0.0;
    p3[5] = "      ぺラ角=" + Format(blade, "#0.0") + "°";
  } else {
    p3[5] = "        高度=" + Format(s.Altitude / 1000, "#0") + "km";
  }
  p3[6] = "    表面温度=" + Format(static_cast<int16_t>(s.SkinTemperature - 273), "###0.0");
  p3[7] = "    機体重量=" + Format(s.Mass, "####0");
}

}  // namespace zarv::view
