#include "model/outline.h"
#include "platform/runtime/program_state.h"

namespace zarv::model {

namespace {

using PivotMember = OutlinePoint PartPivotSet::*;

constexpr std::array<PivotMember, PartPivotSet::kCount> kPivotMembers = {
    &PartPivotSet::ForeFrontFuselagePivot, &PartPivotSet::AftFrontFuselagePivot,
    &PartPivotSet::ForeRearFuselagePivot,  &PartPivotSet::MidRearFuselagePivot,
    &PartPivotSet::AftRearFuselagePivot,   &PartPivotSet::CentreWingPivot,
    &PartPivotSet::InnerWingPivot,         &PartPivotSet::OuterWingPivot,
    &PartPivotSet::TailplanePivot,         &PartPivotSet::FinPivot1,
    &PartPivotSet::FinPivot2,              &PartPivotSet::FinPivot3,
    &PartPivotSet::NacellePivot1,          &PartPivotSet::NacellePivot2,
};

}  // namespace

const std::array<const char*, PartPivotSet::kCount> kPartPivotLabels = {
    "前前部胴体位置", "後前部胴体位置", "前後部胴体位置", "中後部胴体位置",
    "後後部胴体位置", "内内翼位置",     "内翼位置",       "外翼位置",
    "水平尾翼位置",   "垂直尾翼位置1",  "垂直尾翼位置2",  "垂直尾翼位置3",
    "予備位置",       "予備位置",
};

OutlinePoint& PartPivotSet::operator[](int index) {
  return this->*kPivotMembers[static_cast<std::size_t>(index)];
}

const OutlinePoint& PartPivotSet::operator[](int index) const {
  return this->*kPivotMembers[static_cast<std::size_t>(index)];
}

void AirframeOutline::Reset() { *this = AirframeOutline{}; }

AirframeOutline& Outline() { return ProgramWide<AirframeOutline>(); }

}  // namespace zarv::model
