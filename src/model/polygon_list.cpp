#include "model/polygon_list.h"

#include "platform/runtime/numeric.h"
#include "platform/runtime/program_state.h"

namespace zarv::model {

bool PolygonList::CloseGroup(double distance) {
  if (GroupCount < 1 || GroupCount > kMaxGroups) return false;
  const auto g = static_cast<std::size_t>(GroupCount);
  GroupLastPoly[g] = static_cast<int16_t>(PolyCount - 1);
  GroupDistance[g] = distance;
  ++GroupCount;
  return true;
}

void PolygonList::ClearForBuild() {
  for (std::size_t n = 1; n < static_cast<std::size_t>(kSlots); ++n) {
    PolyColour[n] = kDefaultColour;
    PolyGlow[n] = 0.0f;
  }
  PolyCount = 1;
}

void PolygonList::Reset() { *this = PolygonList{}; }

PolygonList& Polygons() { return ProgramWide<PolygonList>(); }

PartReference PartReferenceFromPivots(const PartPivotSet& p) {
  PartReference r;
  r.FrontFuselage = {p.ForeFrontFuselagePivot, p.AftFrontFuselagePivot};
  r.RearFuselage = {p.ForeRearFuselagePivot, p.MidRearFuselagePivot, p.AftRearFuselagePivot};
  r.Wing = {p.CentreWingPivot, p.InnerWingPivot, p.OuterWingPivot};
  r.Tailplane = p.TailplanePivot;
  r.Fins = {p.FinPivot1, p.FinPivot2, p.FinPivot3};
  r.Nacelle = {p.NacellePivot1, p.NacellePivot2};
  return r;
}

void MapToScreen(const ScreenMapping& m, double viewZoom, double projX, double projY,
                 int32_t& screenX, int32_t& screenY) {
  if (m.Mode == DrawMode::Flight) {
    screenX = CLng(m.ViewCentreX + projX);
    screenY = CLng(m.ViewCentreY + projY);
  } else {
    screenX = CLng(viewZoom * projX + m.ViewCentreX);
    screenY = CLng(viewZoom * projY + 240 * m.ScreenScale);
  }
}

void ModelScene::Reset() { *this = ModelScene{}; }

ModelScene& Scene() { return ProgramWide<ModelScene>(); }

}  // namespace zarv::model
