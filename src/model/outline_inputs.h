// The per-flight derived sizes the outline builders read besides the aircraft
// record. The flight set-up computes them and fills this in one place.
#pragma once

#include "aircraft/engine_kind.h"

namespace zarv::model {

struct OutlineInputs {
  double BodyHeight = 0, BodyHalfWidth = 0;  // m
  double MeanChord = 0;
  double CgChordFraction = 0;                // centre of gravity / mean chord
  double GeometricAspectRatio = 0;
  double WingRootOffset = 0;                 // half-span of the centre section
  double RootExtension = 0;
  double TailChord = 0, TailplaneSweepOffset = 0;
  double FinChord = 0, FinSweepOffset = 0;
  double TailPointArm = 0;
  double TailProfileDrag = 0;                // thickness scale of the tail airfoil
  double EngineDiameter = 0;
  aircraft::EngineKind EngineType = aircraft::EngineKind::None;
};

}  // namespace zarv::model
