#include "model/powered_common.h"

#include <algorithm>

#include "model/powered_outline.h"
#include "platform/runtime/numeric.h"

namespace zarv::model {

namespace powered {

PoweredInputs GatherInputs(const aircraft::AircraftData& a, const OutlineInputs& s) {
  PoweredInputs in;
  in.OverallLength = a.OverallLength;
  in.TailplaneArm = a.TailplaneArm;
  in.FinArm = a.FinArm;
  in.TailplaneArea = a.TailplaneArea;
  in.FinArea = a.FinArea;
  in.WingHeight = a.WingHeight;
  in.FinTilt = std::clamp(FiniteOr0(a.FinTilt), -kMaxFinTilt, kMaxFinTilt);
  in.FinHalfSpacing = a.FinHalfSpacing;

  in.EngineDiameter = s.EngineDiameter;
  in.WingRootOffset = s.WingRootOffset;
  in.BodyHalfWidth = s.BodyHalfWidth;
  in.BodyHeight = s.BodyHeight;
  in.TailEndDistance = s.TailPointArm;
  in.MeanChord = s.MeanChord;
  in.CgChordFraction = s.CgChordFraction;
  in.AspectRatio = s.GeometricAspectRatio;
  in.TailFactor = s.TailProfileDrag;
  in.EngineType = s.EngineType;

  // The set-up derives the chords from the areas; an area of 0 gives a chord
  // of 0 and sweep offsets of 0/0. Such a surface is built with no size.
  if (s.TailChord > 0 && std::isfinite(s.TailChord)) {
    in.TailChord = s.TailChord;
    in.TailplaneSpan = FiniteOr0(a.TailplaneArea / s.TailChord);
    in.TailplaneSweep = FiniteOr0(s.TailplaneSweepOffset);
  }
  if (s.FinChord > 0 && std::isfinite(s.FinChord)) {
    in.FinChord = s.FinChord;
    in.FinSpan = FiniteOr0(a.FinArea / s.FinChord);
    in.FinSweep = FiniteOr0(s.FinSweepOffset);
  }
  return in;
}

void WriteTailSection(AirframeOutline& o, double tailFactor) {
  for (int i = 0; i < 6; ++i) {
    o.SectionTemplate.Chordwise[i] = kTailChordwise[i];
    o.SectionTemplate.Thickness[i] = kTailThickness[i];
  }
  for (int i = 0; i < 6; ++i) {
    o.SectionTemplate.Thickness[i] = tailFactor * o.SectionTemplate.Thickness[i] * 100;
  }
}

void BuildTailplaneRows(AirframeOutline& o, double b, const PoweredInputs& in) {
  const double cT = in.TailChord;
  const double span = in.TailplaneSpan;
  const double wT = in.TailplaneSweep;
  auto& X = o.TailX;
  auto& Y = o.TailY;
  auto& Z = o.TailZ;
  for (int j = 0; j < 6; ++j) {
    const double cj = o.SectionTemplate.Chordwise[j];
    const double tj = o.SectionTemplate.Thickness[j];
    // 0 ahead of the quarter chord, -1 behind it: the tip cap's two groups.
    const double fj = (Sgn(cj) - 1) / 2.0;
    // Left tip cap, left outer section, left root.
    X(0, j) = -b - span / 1.88 - fj * cT * 0.53 * 0.5 * 0.3;
    Y(0, j) = fj * cT * 0.53 * 0.5 - 0.65 * wT;
    Z(0, j) = 0.001 * tj;
    X(1, j) = -b - span / 2 - 0.3 * cj;
    Y(1, j) = 0.53 * cT * cj - 0.65 * wT;
    Z(1, j) = 0.53 * cT * tj;
    X(2, j) = -b;
    Y(2, j) = 1.47 * cT * cj + 0.35 * wT;
    Z(2, j) = 1.47 * cT * tj;
    // Right root, right outer section, right tip cap.
    X(3, j) = b;
    Y(3, j) = Y(2, j);
    Z(3, j) = Z(2, j);
    X(4, j) = b + span / 2 + 0.3 * cj;
    Y(4, j) = Y(1, j);
    Z(4, j) = Z(1, j);
    X(5, j) = b + span / 1.88 + fj * cT * 0.53 * 0.5 * 0.3;
    Y(5, j) = Y(0, j);
    Z(5, j) = Z(0, j);
  }
}

}  // namespace powered

OutlineBuilder ChooseOutlineBuilder(const aircraft::AircraftData& a, double engineDiameter,
                                    double wingRootOffset) {
  if (aircraft::LaunchBelow10(a.LaunchSpeed)) return a.WingHeight < 0.9 ? OutlineBuilder::Pod : OutlineBuilder::SlicedFairing;
  if (a.EngineCount <= 1) return OutlineBuilder::None;
  if (a.FinHalfSpacing <= 1.0) return OutlineBuilder::SingleFinJet;
  if (a.CgPosition < 0.27) return OutlineBuilder::UnderwingNacelle;
  if (engineDiameter * 1.05 + 0.4 < wingRootOffset) return OutlineBuilder::NarrowNacelle;
  return OutlineBuilder::WideNacelle;
}

}  // namespace zarv::model
