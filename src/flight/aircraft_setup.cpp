#include "flight/aircraft_setup.h"

#include <cmath>

#include "model/fairing_outline.h"
#include "model/pod_outline.h"

namespace zarv::flight {
namespace {

struct Template {
  double Chordwise[8];
  double Thickness[8];
};

void FillTemplate(model::SectionTemplateData& t, const Template& src, double thicknessScale) {
  for (int p = 0; p < 8; ++p) {
    t.Chordwise[p] = src.Chordwise[p];
    t.Thickness[p] = src.Thickness[p] * thicknessScale;
  }
}

// Scans one grid for the smallest slope from the main contact to a point
// behind it.
template <typename Grid>
void ScanContactSlope(const Grid& ys, const Grid& zs, int stations, int points, double gearPosition,
                      double gearHeight, double& slope) {
  for (int st = 0; st < stations; ++st) {
    for (int p = 0; p < points; ++p) {
      const double d = gearPosition - ys(st, p);
      if (d > 0 && (gearHeight + zs(st, p)) / d < slope) slope = (gearHeight + zs(st, p)) / d;
    }
  }
}

}  // namespace

model::OutlineBuilder SelectOutlineBuilder(const aircraft::AircraftData& a, const FlightState& s) {
  return model::ChooseOutlineBuilder(a, s.Engine.EngineDiameter, s.Setup.WingRootOffset);
}

// The sizes the outline builders read, all gathered here.
model::OutlineInputs OutlineInputsFrom(const FlightState& s) {
  model::OutlineInputs in;
  in.BodyHeight = s.Setup.BodyHeight;
  in.BodyHalfWidth = s.Setup.BodyHalfWidth;
  in.MeanChord = s.Setup.MeanChord;
  in.CgChordFraction = s.Masses.CgChordFraction;
  in.GeometricAspectRatio = s.Setup.GeometricAspectRatio;
  in.WingRootOffset = s.Setup.WingRootOffset;
  in.RootExtension = s.Setup.RootExtension;
  in.TailChord = s.Setup.TailChord;
  in.TailplaneSweepOffset = s.Setup.TailplaneSweepOffset;
  in.FinChord = s.Setup.FinChord;
  in.FinSweepOffset = s.Setup.FinSweepOffset;
  in.TailPointArm = s.Setup.TailPointArm;
  in.TailProfileDrag = s.Airfoils.TailProfileDrag;
  in.EngineDiameter = s.Engine.EngineDiameter;
  in.EngineType = s.Engine.EngineType;
  return in;
}

void RunOutlineBuilder(model::OutlineBuilder builder, const aircraft::AircraftData& a, const FlightState& s,
                       model::AirframeOutline& o) {
  const model::OutlineInputs in = OutlineInputsFrom(s);
  switch (builder) {
    case model::OutlineBuilder::Pod: model::BuildPodOutline(a, in, o); break;
    case model::OutlineBuilder::SlicedFairing: model::BuildSlicedFairingOutline(a, in, o); break;
    case model::OutlineBuilder::None: break;
    case model::OutlineBuilder::SingleFinJet: model::BuildSingleFinJetOutline(a, in, o); break;
    case model::OutlineBuilder::UnderwingNacelle: model::BuildUnderwingNacelleOutline(a, in, o); break;
    case model::OutlineBuilder::NarrowNacelle: model::BuildNarrowNacelleOutline(a, in, o); break;
    case model::OutlineBuilder::WideNacelle: model::BuildWideNacelleOutline(a, in, o); break;
  }
}

model::OutlineBuilder PrepareAircraftForFlight(aircraft::AircraftData& a, FlightState& s, model::AirframeOutline& o) {
  const bool powered = aircraft::LaunchAbove10(a.LaunchSpeed);
  s.Setup.CourseOffsetX = 14000000;

  // Fuselage height and half width.
  s.Setup.DragAreaLength = 1.35 * std::pow(a.ParasiteDragArea, 0.6);
  s.Setup.BodyHeight = s.Setup.DragAreaLength;
  if (s.Setup.BodyHeight > a.OverallLength / 7) s.Setup.BodyHeight = a.OverallLength / 7;
  if (s.Setup.BodyHeight < a.OverallLength / 13.5) s.Setup.BodyHeight = a.OverallLength / 13.5;
  if (s.Masses.DryMass > 35 && s.Setup.BodyHeight < 0.72) s.Setup.BodyHeight = 0.72;
  s.Setup.BodyHalfWidth = (powered && s.Masses.DryMass < 19000) ? 0.4 * s.Setup.BodyHeight : 0.5 * s.Setup.BodyHeight;

  // Centre section.
  if (s.Setup.WingRootOffset < s.Setup.BodyHalfWidth) s.Setup.WingRootOffset = s.Setup.BodyHalfWidth;
  const double e = s.Engine.EngineDiameter * 1.05 * a.EngineCount / 2;
  if (e + 0.4 > s.Setup.WingRootOffset && a.EngineCount > 0) s.Setup.WingRootOffset = e;
  if (a.FinHalfSpacing > 1.0) s.Setup.WingRootOffset = a.FinHalfSpacing;

  if (s.Setup.BodyHeight < a.WingHeight) s.Setup.BodyHeight = a.WingHeight > 1.3 ? 1.3 : a.WingHeight;

  s.Setup.MeanChord = a.WingArea / a.WingSpan;

  // Tail sizes. A surface of zero area gets zero chord; its sweep offset is
  // then 0 instead of 0/0.
  const auto ratio = [](double n, double d) { return d != 0 ? n / d : 0.0; };
  if (a.FinHalfSpacing < 1) {
    if (aircraft::LaunchBelow10(a.LaunchSpeed)) {
      s.Setup.FinChord = a.TailEndHeight > 1 ? std::sqrt(a.FinArea / 3) : std::sqrt(a.FinArea / 2);
      s.Setup.FinSweepOffset = 0;
      s.Setup.TailChord = std::sqrt(a.TailplaneArea / 6);
      s.Setup.TailplaneSweepOffset = 0;
    } else {
      s.Setup.FinChord = std::sqrt(a.FinArea / 2);
      s.Setup.FinSweepOffset = ratio(a.FinArea / 2, s.Setup.FinChord) * 1.2;
      s.Setup.TailChord = std::sqrt(a.TailplaneArea / 3);
      s.Setup.TailplaneSweepOffset = ratio(a.TailplaneArea / 2, s.Setup.TailChord) * 0.9 * 0.75;
    }
  } else {
    s.Setup.FinChord = 0.8 * std::sqrt(a.FinArea / 2);
    s.Setup.FinSweepOffset = s.Setup.FinChord * 0.9 * 0.75;
    if (aircraft::LaunchBelow10(a.LaunchSpeed)) {
      s.Setup.TailChord = a.TailplaneArea / 2.9;
      s.Setup.TailplaneSweepOffset = 0;
    } else {
      s.Setup.TailChord = std::sqrt(a.TailplaneArea / std::pow(s.Setup.GeometricAspectRatio, 0.8) / 0.9);
      s.Setup.TailplaneSweepOffset = ratio(std::cos(a.OuterSweep) * a.TailplaneArea / 2, s.Setup.TailChord);
    }
  }

  // Rearmost tail point.
  if (aircraft::LaunchBelow10(a.LaunchSpeed)) {
    const double f = 0.75 * s.Setup.FinChord + a.FinArm;
    const double t = 0.75 * s.Setup.TailChord + a.TailplaneArm;
    s.Setup.TailPointArm = t < f ? f - 0.35 * s.Setup.FinSweepOffset : t - 0.35 * s.Setup.TailplaneSweepOffset;
  } else {
    const double f = 0.45 * s.Setup.FinChord + a.FinArm + s.Setup.FinSweepOffset;
    const double t = 0.45 * s.Setup.TailChord + a.TailplaneArm + s.Setup.TailplaneSweepOffset;
    s.Setup.TailPointArm = t < f ? a.FinArm - 0.35 * s.Setup.FinSweepOffset + 0.45 * s.Setup.FinChord
                           : a.TailplaneArm + 0.65 * s.Setup.TailplaneSweepOffset + 0.45 * s.Setup.TailChord;
  }

  const double k = (a.WingSpan / 2 - s.Setup.WingRootOffset - a.TipLength) / 2;
  s.Setup.InnerSweepOffset = -std::tan(a.InnerSweep) * k;
  s.Setup.OuterSweepOffset = -std::tan(a.OuterSweep) * k;
  s.Setup.TipSweepOffset = -std::tan(a.TipSweep) * a.TipLength;

  // Wing outline grid, from three section templates.
  const double w = a.TipWashout;
  const double sw = std::sin(w);
  const Template t1{{-0.75, -0.45, 0.03, 0.17, 0.25, 0.17, 0.03, -0.45},
                    {0, 0.085, 0.12, 0.075, 0.03, 0, 0, 0}};
  const Template t2{{-0.75, -0.45, 0.03, 0.18, 0.25, 0.18, 0.2, -0.45},
                    {0, 0.085, 0.12, 0.075, 0.03, 0, 0, 0}};
  const Template t3{{-0.75, -0.45, 0.03 - 2 * sw, 0.2, 0.25, 0.2, -0.45, -0.45},
                    {0, 0.085, 0.12, 0.075 - sw / 2, 0.03 - sw / 2, -sw / 2, 0, 0}};
  const double thick = s.Airfoils.WingProfileDrag * 80;
  model::SectionTemplateData& tpl = o.SectionTemplate;
  const double c = s.Setup.MeanChord;
  const double H = a.WingHeight;
  const double r = s.Setup.RootChordRatio;

  FillTemplate(tpl, t1, thick);
  for (int p = 0; p < 8; ++p) {
    const double ch = tpl.Chordwise[p];
    const double th = tpl.Thickness[p];
    double x, y, z;
    if (aircraft::LaunchBelow10(a.LaunchSpeed)) {
      x = a.WingHeight > s.Setup.BodyHeight ? 0.001 : 1.5 * s.Setup.BodyHalfWidth;
      y = c * ch * r;
      z = c * th * r + H + std::sin(s.Wing.WingRootAngle) * y;
    } else if (a.FinHalfSpacing > 1 && a.CgPosition > 0.27) {
      s.Setup.RootChordFactor = ((a.OverallLength - s.Setup.TailPointArm) * 0.57 + r * c * 0.75) / c;
      s.Setup.RootExtension = (s.Setup.RootChordFactor * c - r * c) * 0.75;
      x = s.Setup.BodyHalfWidth;
      y = c * ch * s.Setup.RootChordFactor + s.Setup.RootExtension;
      z = c * th * s.Setup.RootChordFactor + H;
    } else if (a.FinHalfSpacing > 1) {
      s.Setup.RootChordFactor = ((a.OverallLength - s.Setup.TailPointArm) * 0.36 + r * c * 0.75) / c;
      s.Setup.RootExtension = (s.Setup.RootChordFactor * c - r * c) * 0.75;
      x = s.Setup.WingRootOffset - 0.4;
      y = ch > 0 ? 1.03 * (s.Setup.RootExtension + c * ch * r) : c * ch * r;
      z = 1.03 * c * th * r + H;
    } else {
      x = s.Setup.WingRootOffset;
      y = c * ch * r;
      z = c * th * r + H;
    }
    o.WingX(0, p) = x;
    o.WingY(0, p) = y;
    o.WingZ(0, p) = z;
    for (int st = 1; st <= 2; ++st) {
      o.WingX(st, p) = s.Setup.WingRootOffset;
      o.WingY(st, p) = c * ch * r;
      o.WingZ(st, p) = c * th * r + H;
    }
    o.WingX(3, p) = s.Setup.WingRootOffset + k * std::cos(a.InnerDihedral);
    o.WingY(3, p) = c * ch * a.InnerTaper + s.Setup.InnerSweepOffset;
    o.WingZ(3, p) = H + k * std::sin(a.InnerDihedral) + c * th * a.InnerTaper;
  }

  const bool moreTemplates = s.Airfoils.LeadingEdgeFlaps == 0;
  if (moreTemplates) FillTemplate(tpl, t2, thick);
  for (int p = 0; p < 8; ++p) {
    const double ch = tpl.Chordwise[p];
    const double th = tpl.Thickness[p];
    o.WingX(4, p) = s.Setup.WingRootOffset + k * std::cos(a.InnerDihedral);
    o.WingY(4, p) = c * ch * a.InnerTaper + s.Setup.InnerSweepOffset;
    o.WingZ(4, p) = H + k * std::sin(a.InnerDihedral) + c * th * a.InnerTaper;
  }

  if (moreTemplates) FillTemplate(tpl, t3, thick);
  const double sweeps = s.Setup.InnerSweepOffset + s.Setup.OuterSweepOffset + s.Setup.TipSweepOffset;
  for (int p = 0; p < 8; ++p) {
    const double ch = tpl.Chordwise[p];
    const double th = tpl.Thickness[p];
    const double x5 = o.WingX(3, p) + k * std::cos(a.OuterDihedral);
    const double z5 = H + k * std::sin(a.InnerDihedral) + k * std::sin(a.OuterDihedral);
    for (int st = 5; st <= 6; ++st) {
      o.WingX(st, p) = x5;
      o.WingY(st, p) = c * ch * a.OuterTaper + s.Setup.InnerSweepOffset + s.Setup.OuterSweepOffset;
      o.WingZ(st, p) = z5 + c * th * a.OuterTaper;
    }
    const double z7 = z5 + a.TipLength * std::sin(a.TipDihedral);
    o.WingX(7, p) = x5 + a.TipLength * std::cos(a.TipDihedral);
    o.WingY(7, p) = c * ch * a.TipTaper + sweeps;
    o.WingZ(7, p) = z7 + c * th * a.TipTaper;
    o.WingX(8, p) = o.WingX(7, p) + 0.03;
    o.WingY(8, p) = c * tpl.Chordwise[5] * a.TipTaper + sweeps + 0.001 * ch;
    o.WingZ(8, p) = z7 + 0.001 * th;
  }

  const model::OutlineBuilder builder = SelectOutlineBuilder(a, s);
  RunOutlineBuilder(builder, a, s, o);

  a.EyeHeight = 0.7 * s.Setup.BodyHeight;
  s.Setup.TailPointArm = std::fabs(s.Setup.TailPointArm);
  if (powered && s.Engine.EngineRating >= 9000 && a.FinHalfSpacing < 1.0) a.FinHalfSpacing = 0;

  const double b = a.WingSpan;
  s.Setup.DihedralRise = (a.TipLength * a.TipLength * 0.3 * a.TipDihedral +
                    (b / 4 - s.Setup.WingRootOffset) * (b / 4 - s.Setup.WingRootOffset) * 3 * a.InnerDihedral +
                    (b / 4 - a.TipLength) * (b / 4 - a.TipLength) * 1.4 * a.OuterDihedral) /
                   (b / 2);
  s.Setup.TailEndArm = 0.75 * s.Setup.TailChord + a.FinArm;

  if (a.TipDihedral == 0) a.TipDihedral = a.OuterDihedral;
  const double lift = 2 * (a.WingHeight - a.EyeHeight) / b;
  a.InnerDihedral += lift;
  a.OuterDihedral += lift;
  a.TipDihedral += lift;
  s.Setup.InitialInnerWingDeflection = a.InnerDihedral + std::atan(4 * 0.25 * a.WingDeflection / b);
  s.Setup.InitialOuterWingDeflection = a.OuterDihedral + std::atan(4 * 0.75 * a.WingDeflection / b);
  s.Setup.InitialWingTipDeflection = a.TipDihedral + std::atan(4 * 0.75 * a.WingDeflection / b);

  s.Setup.BodySideArea = powered ? a.OverallLength * s.Setup.BodyHeight : 2.5 * s.Setup.BodyHeight;

  // Gear contact: for a powered aircraft the gear length plus half the
  // fuselage's height range.
  s.Setup.GearHeight = powered ? a.TailEndHeight + (o.OutlineZMax - o.OutlineZMin) / 2 : 0.1;
  a.GearPosition = a.GearPosition + (s.Masses.CgChordFraction - 0.25) * s.Setup.MeanChord;
  if (!powered && b > 8) {
    a.GearPosition = -(a.TailplaneArm - (s.Masses.CgChordFraction - 0.25) * s.Setup.MeanChord) / 800;
  }

  double slope = 2.0;
  ScanContactSlope(o.FrontFuselageY, o.FrontFuselageZ, 10, 8, a.GearPosition, s.Setup.GearHeight, slope);
  ScanContactSlope(o.RearFuselageY, o.RearFuselageZ, 5, 8, a.GearPosition, s.Setup.GearHeight, slope);
  ScanContactSlope(o.TailY, o.TailZ, 12, 6, a.GearPosition, s.Setup.GearHeight, slope);
  ScanContactSlope(o.NacelleY, o.NacelleZ, 12, 12, a.GearPosition, s.Setup.GearHeight, slope);
  s.Setup.GroundPitchLimit = std::atan(slope);
  if (s.Setup.GroundPitchLimit > 0.3) s.Setup.GroundPitchLimit = 0.3;

  // The tailplane's height under the line from the wing, for the chart's
  // wake gap: wing height less the hinge height.
  s.Setup.TailWakeBase = a.WingHeight - o.TailplaneHingeZ;

  s.Setup.EarthRadius = 6378140;
  s.Setup.EarthGm = 1e24 * (6.67 / 1e11 * 5.981);
  s.Setup.Gravity = s.Setup.EarthGm / (s.Setup.EarthRadius * s.Setup.EarthRadius);
  return builder;
}

}  // namespace zarv::flight
