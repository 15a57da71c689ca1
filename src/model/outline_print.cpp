#include "model/outline_print.h"

#include <array>
#include <string>

#include "platform/runtime/number_text.h"

namespace zarv::model {

namespace {

std::string Num(double v) { return NumberText(v); }

template <int S, int P>
void PrintGrid(std::ostream& out, const char* name, const OutlineGrid<S, P>& x,
               const OutlineGrid<S, P>& y, const OutlineGrid<S, P>& z) {
  for (int s = 0; s < S; ++s) {
    for (int p = 0; p < P; ++p) {
      out << name << ' ' << s << ' ' << p << ' ' << Num(x(s, p)) << ' ' << Num(y(s, p)) << ' '
          << Num(z(s, p)) << '\n';
    }
  }
}

constexpr std::array<const char*, PartPivotSet::kCount> kPivotNames = {
    "ForeFrontFuselagePivot", "AftFrontFuselagePivot", "ForeRearFuselagePivot",
    "MidRearFuselagePivot",   "AftRearFuselagePivot",  "CentreWingPivot",
    "InnerWingPivot",         "OuterWingPivot",        "TailplanePivot",
    "FinPivot1",              "FinPivot2",             "FinPivot3",
    "NacellePivot1",          "NacellePivot2",
};

}  // namespace

void PrintOutline(std::ostream& out, const AirframeOutline& o) {
  PrintGrid(out, "FrontFuselage", o.FrontFuselageX, o.FrontFuselageY, o.FrontFuselageZ);
  PrintGrid(out, "RearFuselage", o.RearFuselageX, o.RearFuselageY, o.RearFuselageZ);
  PrintGrid(out, "Wing", o.WingX, o.WingY, o.WingZ);
  PrintGrid(out, "Tail", o.TailX, o.TailY, o.TailZ);
  PrintGrid(out, "Nacelle", o.NacelleX, o.NacelleY, o.NacelleZ);
  for (int i = 0; i < PartPivotSet::kCount; ++i) {
    const OutlinePoint& v = o.PartPivots[i];
    out << "Pivot " << kPivotNames[static_cast<std::size_t>(i)] << ' ' << Num(v.X) << ' '
        << Num(v.Y) << ' ' << Num(v.Z) << '\n';
  }
  out << "TailplaneHingeY " << Num(o.TailplaneHingeY) << '\n';
  out << "TailplaneHingeZ " << Num(o.TailplaneHingeZ) << '\n';
  out << "FinHingeX " << Num(o.FinHingeX) << '\n';
  out << "FinHingeY " << Num(o.FinHingeY) << '\n';
}

}  // namespace zarv::model
