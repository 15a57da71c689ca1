#include "view/flight_data_listing.h"

#include <cmath>
#include <string>

#include "platform/runtime/angles.h"
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
  const double sections[4] = {s.Wing.Panels[3].Angle, s.Wing.Panels[1].Angle, s.Wing.Panels[2].Angle, s.Wing.Panels[4].Angle};
  std::string t = " awl2 awl1 awr1 awr2\r\n";
  for (double angle : sections) {
    if (angle >= 0) t += " ";
    t += Format(angle * kDegreesPerRadian, "00.0");
  }
  t += "\r\n intemp =" + Format(s.Engine.InletTemperature, "#0");
  t += "\r\njoy.wXpos=" + Format(s.Pilot.JoyXpos, "#0");
  t += "\r\njoy.wzpos=" + Format(s.Pilot.JoyZpos, "#0");
  t += "\r\n  clk   =" + Format(s.Wing.StallRatio, "#0.0000");
  t += "\r\n   mb   =" + Format(s.Masses.ApparentMass, "0.0kg");
  t += "\r\ncpumergin=" + Format(static_cast<double>(s.Loop.WaitMs), "#0");
  v.Pages.Diagnostics = t;
}

}  // namespace

void WriteListingPages(PanelView& v, const flight::FlightState& s, bool all) {
  auto& p1 = v.Pages.Page1;
  if (v.Pages.Page1Visible || all) {
    p1[0] = " Air speed    " + Format(s.Body.AirSpeed, "#0.0") + "m/s";
    p1[1] = " Ground speed " + Format(s.Body.GroundSpeed, "#0.0") + "m/s";
    p1[2] = " Distance    " + Format(s.Body.Distance, "##0.00") + "m";
    p1[3] = "     C.P     " + Format(s.Masses.CentreOfPressure, "##0.0") + "%";
    p1[4] = "     G.C     " + Format(s.Masses.CentreOfGravity, "##0.0") + "%";
    p1[5] = " Pilot G.C From 25%C";
    p1[6] = " Pitch Angle " + Format(s.Body.PitchAngle * kDegreesPerRadian, "#0.00") + "°";
    p1[7] = " Path Angle  " + Format(s.Body.PathAngle * kDegreesPerRadian, "#0.00") + "°";
    p1[8] = " H.S. Angle " + Format(s.Controls.ElevatorAngle * kDegreesPerRadian, "#0.00") + "°";
    p1[9] = " V.S. Angle  " + Format(s.Controls.RudderAngle * kDegreesPerRadian, "#0.00") + "°";
  }
  if (!(v.Pages.Page2Visible || all)) return;
  auto& p2 = v.Pages.Page2;
  p2[0] = "    揚力傾斜=" + Format(s.Aero.LiftSlope * 6.28 * s.Setup.SweepAreaFactor * s.Aero.LiftSlopeMachFactor, "0.000");
  p2[1] = "有効ｱｽﾍﾟｸﾄ比=" + Format(s.Aero.EffectiveAspectRatio, "##0.00");
  if (s.Engine.EngineRating >= 9000 && s.Body.Altitude < 10) {
    p2[2] = "    浮揚速度=" + Format(s.Controls.LiftOffSpeed * 1.94, "#00") + "kt  ";
  } else {
    // A turn slower than 0.1 degree per second shows no radius.
    const double turning = Int(std::fabs(s.Body.TurnRate * 573)) >= 1 ? 1.0 : 0.0;
    p2[2] = "    旋回半径=" + Format(turning * s.Body.InertialSpeed / (std::fabs(s.Body.TurnRate) + 0.00001), "####0") + "ｍ";
  }
  p2[3] = "      旋回率=" + Format(s.Body.TurnRate * kDegreesPerRadian, "##0.0") + "°";
  p2[4] = "    ピッチ率=" + Format(s.Body.PitchRate * kDegreesPerRadian, "##0.0") + "°";
  p2[5] = "      ヨー率=" + Format(s.Body.YawRate * kDegreesPerRadian, "##0.0") + "°";
  p2[6] = "    ロール率=" + Format(s.Body.RollRate * kDegreesPerRadian, "##0.0") + "°";
  p2[7] = "    横滑り角=" + Format(s.Air.Sideslip * kDegreesPerRadian, "##0.0") + "°";
  p2[8] = "      加速度=" +
          Format((s.Body.PitchCos * s.Engine.Thrust / (s.Masses.Mass + s.Masses.ApparentMass) + s.Body.LongAccel) * 100, "####0") + "gal";
  if (v.Screen.DeveloperMode) WriteDiagnostics(v, s);
}

void WriteListingPage3(PanelView& v, const flight::FlightState& s, const aircraft::AircraftData&) {
  if (!(s.Body.Altitude > 0 || v.Pages.Page3Visible)) return;
  auto& p3 = v.Pages.Page3;
  const double flow = ShownFuelFlow(s);
  if (s.Body.Altitude > 0 && flow > 0.001 && s.Engine.EngineRating >= 9000) {
    p3[0] = "航続可能距離=" + Format(RangeNauticalMiles(s.Masses.FuelQuantity, flow, s.Body.AirSpeed, s.Masses.DryMass), "#####0") + "nm";
  }
  p3[1] = "　　　　推力=" + Format(s.Engine.Thrust / 1000, "##0.00") + "kN";
  p3[2] = "　Fuel Flow=" + Format(flow * 7929.515, "####0");
  if (flow < 0.1) p3[2] += "lb/h";
  if ((s.Engine.EngineType == aircraft::EngineKind::Jet || s.Engine.EngineType == aircraft::EngineKind::Rocket) && s.Engine.Thrust > 0) {
    p3[3] = "        SFC=" + Format(flow * 35280 / s.Engine.Thrust, "0.000");
  } else {
    p3[3] = "   ﾍﾟﾗ後流速=" + Format(2 * s.Engine.SlipstreamSpeed - s.Body.AirSpeed, "##0") + "m/s";
  }
  if (s.Body.AirSpeed < 20) {
    p3[4] = "  真対気速度=" + Format(s.Body.AirSpeed, "##0.0") + "m/s";
  } else if (s.Body.AirSpeed < 5000) {
    p3[4] = "  真対気速度=" + Format(s.Body.AirSpeed * 3.6, "##0.0") + "km/h";
  } else {
    p3[4] = "  真対気速度=" + Format(s.Body.AirSpeed / 1000, "#0.0000") + "km/s";
  }
  if (s.Engine.EngineType == aircraft::EngineKind::Piston) {
    // No propeller diameter, no blade angle to show.
    const double blade = s.Engine.PropellerDiameter > 0
                             ? std::atan(s.Engine.PropellerAngle / kPi / s.Engine.PropellerDiameter / 0.7) * kDegreesPerRadian
                             : 0.0;
    p3[5] = "      ぺラ角=" + Format(blade, "#0.0") + "°";
  } else {
    p3[5] = "        高度=" + Format(s.Body.Altitude / 1000, "#0") + "km";
  }
  p3[6] = "    表面温度=" + Format(static_cast<int16_t>(s.Air.SkinTemperature - 273), "###0.0");
  p3[7] = "    機体重量=" + Format(s.Masses.Mass, "####0");
}

}  // namespace zarv::view
