// The companion's outline: the grids, pivots and hinges of the aircraft that
// flew a stored flight, laid out as an own outline holds them.
#pragma once

#include "model/outline.h"

namespace zarv::model {

// The companion's reference points and hinge axes (body frame, metres).
struct CompanionPivots {
  PartPivotSet Points;  // in the flight log's order
  double TailplaneHingeY = 0.0;
  double TailplaneHingeZ = 0.0;
  double FinHingeX = 0.0;
  double FinHingeY = 0.0;
};

// The companion's outline, laid out as the own aircraft's: tailplane Y and Z
// relative to its hinge, fin X and Y relative to the fin hinge.
struct CompanionOutline {
  FrontFuselageGrid FrontFuselageX, FrontFuselageY, FrontFuselageZ;
  RearFuselageGrid RearFuselageX, RearFuselageY, RearFuselageZ;
  WingGrid WingX, WingY, WingZ;
  TailGrid TailX, TailY, TailZ;
  NacelleGrid NacelleX, NacelleY, NacelleZ;
  CompanionPivots Pivots;
};

// The same grids, pivots and hinges as an own outline holds them.
inline CompanionOutline CompanionOutlineFrom(const AirframeOutline& o) {
  CompanionOutline c;
  c.FrontFuselageX = o.FrontFuselageX;
  c.FrontFuselageY = o.FrontFuselageY;
  c.FrontFuselageZ = o.FrontFuselageZ;
  c.RearFuselageX = o.RearFuselageX;
  c.RearFuselageY = o.RearFuselageY;
  c.RearFuselageZ = o.RearFuselageZ;
  c.WingX = o.WingX;
  c.WingY = o.WingY;
  c.WingZ = o.WingZ;
  c.TailX = o.TailX;
  c.TailY = o.TailY;
  c.TailZ = o.TailZ;
  c.NacelleX = o.NacelleX;
  c.NacelleY = o.NacelleY;
  c.NacelleZ = o.NacelleZ;
  c.Pivots.Points = o.PartPivots;
  c.Pivots.TailplaneHingeY = o.TailplaneHingeY;
  c.Pivots.TailplaneHingeZ = o.TailplaneHingeZ;
  c.Pivots.FinHingeX = o.FinHingeX;
  c.Pivots.FinHingeY = o.FinHingeY;
  return c;
}

}  // namespace zarv::model
