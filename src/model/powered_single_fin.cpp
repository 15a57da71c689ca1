// Powered aircraft with one fin (or two fins close enough to draw as one):
// a pointed nose, a fuselage of constant section stitched to the wing root,
// a tail cone, a tailplane, one fin and no nacelle.
#include <cmath>

#include "model/powered_common.h"
#include "model/powered_outline.h"

namespace zarv::model {

namespace {

using outline_build::WriteHalfRing;
using powered::PoweredInputs;
using powered::RingAngle;
using powered::ScanZ;
using powered::Shift;

}  // namespace

void BuildSingleFinJetOutline(const aircraft::AircraftData& aircraft, const OutlineInputs& sizes,
                              AirframeOutline& o) {
  const PoweredInputs in = powered::GatherInputs(aircraft, sizes);
  outline_build::ClearForBuild(o);

  auto& FX = o.FrontFuselageX;
  auto& FY = o.FrontFuselageY;
  auto& FZ = o.FrontFuselageZ;
  auto& RX = o.RearFuselageX;
  auto& RY = o.RearFuselageY;
  auto& RZ = o.RearFuselageZ;
  auto& WX = o.WingX;
  auto& WY = o.WingY;
  auto& WZ = o.WingZ;
  auto& TX = o.TailX;
  auto& TY = o.TailY;
  auto& TZ = o.TailZ;
  const double L = in.OverallLength;
  const double D = in.TailEndDistance;
  const double H = in.BodyHeight;
  const double B = in.BodyHalfWidth;

  // No nacelle: one ring of 1 mm.
  for (int j = 0; j < 12; ++j) {
    const double a = RingAngle(j);
    o.NacelleX(0, j) = 0.001 * std::sin(a) + 0.001;
    o.NacelleZ(0, j) = 0.001 * std::cos(a);
    o.NacelleY(0, j) = 0;
  }

  // Front fuselage: the nose swells over 1.6 body heights, then a constant
  // section runs along the wing root.
  const double y0 = L - D;
  WriteHalfRing(FX, FY, FZ, 0, 0.001, 0.001, 0.3 * H, y0);
  WriteHalfRing(FX, FY, FZ, 1, 0.35 * B, 0.35 * H / 2, 0.35 * H, y0 - 0.25 * H);
  WriteHalfRing(FX, FY, FZ, 2, 0.63 * B, 0.63 * H / 2, 0.4 * H, y0 - 0.6 * H);
  WriteHalfRing(FX, FY, FZ, 3, 0.85 * B, 0.85 * H / 2, 0.45 * H, y0 - 1.05 * H);
  WriteHalfRing(FX, FY, FZ, 4, B, H / 2, 0.5 * H, y0 - 1.6 * H);
  WriteHalfRing(FX, FY, FZ, 5, B, H / 2, 0.5 * H, (FY(4, 0) + WY(0, 4)) / 2);
  WriteHalfRing(FX, FY, FZ, 6, B, H / 2, 0.5 * H, WY(0, 4));
  WriteHalfRing(FX, FY, FZ, 7, B, H / 2, 0.5 * H, WY(0, 3));
  WriteHalfRing(FX, FY, FZ, 8, B, H / 2, 0.5 * H, WY(0, 2));
  WriteHalfRing(FX, FY, FZ, 9, B, H / 2, 0.5 * H, WY(0, 1));
  WriteHalfRing(FX, FY, FZ, 10, B, H / 2, 0.5 * H, WY(0, 0));
  WriteHalfRing(FX, FY, FZ, 11, B, H / 2, 0.5 * H, WY(0, 0) - 0.3 * (D + WY(0, 0)));

  // Wing-root junction: the fuselage stations along the root take the root
  // section where the wing meets the body.
  if (in.BodyHeight >= in.WingHeight && outline_build::FitWingRootToBody(o, 6) == 5) {
    // A low wing: station 5's side point goes half-way to the leading edge
    // and point 6 of station 7 onto the root's lower surface.
    FX(5, 4) = (FX(5, 4) + WX(0, 4)) / 2;
    FY(5, 4) = (FY(5, 4) + WY(0, 4)) / 2;
    FZ(5, 4) = (FZ(5, 4) + WZ(0, 4)) / 2;
    FX(7, 6) = WX(0, 5);
    FY(7, 6) = WY(0, 5);
    FZ(7, 6) = WZ(0, 5);
  }

  // Tail cone keeping the fuselage's top line.
  for (int p = 0; p < 8; ++p) {
    RX(0, p) = FX(10, p);
    RY(0, p) = FY(10, p);
    RZ(0, p) = FZ(10, p);
  }
  const double yte = WY(0, 0);
  const double cone[3][2] = {{0.5, 0.8}, {0.7, 0.5}, {0.9, 0.2}};
  double z0 = 0;
  for (int k = 0; k < 3; ++k) {
    const double h = cone[k][1] * H / 2;
    z0 = H - h;
    WriteHalfRing(RX, RY, RZ, 1 + k, cone[k][1] * B, h, z0, yte - cone[k][0] * (D + yte));
  }
  WriteHalfRing(RX, RY, RZ, 4, 0.001, 0.001, z0, -D);

  powered::WriteTailSection(o, in.TailFactor);
  const bool tailplane = !(in.EngineType == aircraft::EngineKind::Rocket || in.AspectRatio >= 2.5);
  if (tailplane) powered::BuildTailplaneRows(o, in.WingRootOffset, in);

  // One fin on the centre plane; the second fin's rows collapse onto its root.
  o.FinHingeY = in.FinSweep - in.FinArm;
  {
    const auto& c = o.SectionTemplate.Chordwise;
    const auto& t = o.SectionTemplate.Thickness;
    const double cf = in.FinChord;
    const double ef = in.FinSweep;
    const double zr = RZ(2, 0);
    const double hf = in.FinSpan;
    for (int j = 0; j < 6; ++j) {
      TX(6, j) = 0.001 * t[j];
      TY(6, j) = 0.001 * c[j] - 0.75 * ef;
      TZ(6, j) = zr + hf;
      TX(7, j) = 0.5 * cf * t[j];
      TY(7, j) = 0.5 * cf * c[j] - 0.75 * ef;
      TZ(7, j) = zr + hf;
      TX(8, j) = 1.5 * cf * t[j];
      TY(8, j) = 1.5 * cf * c[j] + 0.35 * ef;
      TZ(8, j) = zr;
      for (int s = 9; s <= 11; ++s) {
        TX(s, j) = 0.001 * t[j];
        TY(s, j) = 0.001 * c[j] + 0.35 * ef;
        TZ(s, j) = zr;
      }
    }
  }

  // Height range, then centre on it and on the centre of gravity.
  o.OutlineZMax = 0.0;
  o.OutlineZMin = 3.0;
  ScanZ(FZ, o.OutlineZMax, o.OutlineZMin);
  ScanZ(RZ, o.OutlineZMax, o.OutlineZMin);
  ScanZ(WZ, o.OutlineZMax, o.OutlineZMin);
  ScanZ(o.NacelleZ, o.OutlineZMax, o.OutlineZMin);
  const double m = (o.OutlineZMin + o.OutlineZMax) / 2;
  const double d = (in.CgChordFraction - 0.25) * in.MeanChord;
  Shift(FY, FZ, d, m);
  Shift(RY, RZ, d, m);
  Shift(WY, WZ, d, m);
  for (int s = 6; s < 12; ++s) {
    for (int j = 0; j < 6; ++j) TZ(s, j) = TZ(s, j) - m;
  }
  o.TailplaneHingeY = d - in.TailplaneArm;
  o.TailplaneHingeZ = in.TailplaneArm < 0 ? FZ(3, 4) : RZ(3, 4);
  o.FinHingeY = o.FinHingeY + d;
  PartPivotSet& pv = o.PartPivots;
  pv.FinPivot2 = {TX(11, 3), TY(11, 3) + o.FinHingeY, TZ(11, 2)};
  Shift(o.NacelleY, o.NacelleZ, d, m);

  const double zw = (WZ(1, 6) + WZ(1, 1)) / 2;
  const double xw = (WX(1, 6) + WX(0, 6)) / 2;
  const double yA = (RY(4, 0) + RY(2, 0)) / 2;
  const double zR = RZ(2, 4);
  const double yw = WY(1, 6);
  pv.ForeFrontFuselagePivot = {0, yw, zw};
  pv.AftFrontFuselagePivot = {0, yA, zR};
  pv.ForeRearFuselagePivot = {0.1, RY(1, 0), zR};
  pv.MidRearFuselagePivot = {0.1, RY(2, 0), zR};
  pv.AftRearFuselagePivot = {0.1, yA, zR};
  pv.CentreWingPivot = {xw, yw, zw};
  pv.InnerWingPivot = {(WX(3, 6) + WX(2, 6)) / 2, yw, zw};
  pv.OuterWingPivot = {(WX(8, 6) + WX(4, 6)) / 2, yw, zw};
  pv.TailplanePivot = {TX(3, 0) + 0.3, o.TailplaneHingeY, zR};
  pv.FinPivot1 = {in.FinHalfSpacing, yA, TZ(8, 0) + 1.0};
  pv.FinPivot3 = {xw, yw, TZ(8, 0) + 1.0};
  pv.NacellePivot1 = {xw, yw - 0.003, zR};
  pv.NacellePivot2 = {xw, yA, zR};
}

}  // namespace zarv::model
