#include "model/outline_print.h"

#include <array>
#include <cmath>
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

// The grids and the hinge values in printing order.
template <class F>
void ForEachGrid(const AirframeOutline& o, F&& f) {
  f("FrontFuselage", o.FrontFuselageX, o.FrontFuselageY, o.FrontFuselageZ);
  f("RearFuselage", o.RearFuselageX, o.RearFuselageY, o.RearFuselageZ);
  f("Wing", o.WingX, o.WingY, o.WingZ);
  f("Tail", o.TailX, o.TailY, o.TailZ);
  f("Nacelle", o.NacelleX, o.NacelleY, o.NacelleZ);
}

template <class F>
void ForEachHinge(const AirframeOutline& o, F&& f) {
  f("TailplaneHingeY", o.TailplaneHingeY);
  f("TailplaneHingeZ", o.TailplaneHingeZ);
  f("FinHingeX", o.FinHingeX);
  f("FinHingeY", o.FinHingeY);
}

template <int S, int P>
bool Finite(const OutlineGrid<S, P>& g) {
  for (double v : g.Cells)
    if (!std::isfinite(v)) return false;
  return true;
}

}  // namespace

void PrintOutline(std::ostream& out, const AirframeOutline& o) {
  ForEachGrid(o, [&](const char* name, const auto& x, const auto& y, const auto& z) { PrintGrid(out, name, x, y, z); });
  for (int i = 0; i < PartPivotSet::kCount; ++i) {
    const OutlinePoint& v = o.PartPivots[i];
    out << "Pivot " << kPivotNames[static_cast<std::size_t>(i)] << ' ' << Num(v.X) << ' '
        << Num(v.Y) << ' ' << Num(v.Z) << '\n';
  }
  ForEachHinge(o, [&](const char* name, double v) { out << name << ' ' << Num(v) << '\n'; });
}

std::string_view FirstNonFiniteLine(const AirframeOutline& o) {
  std::string_view first;
  ForEachGrid(o, [&](const char* name, const auto& x, const auto& y, const auto& z) {
    if (first.empty() && !(Finite(x) && Finite(y) && Finite(z))) first = name;
  });
  for (int i = 0; i < PartPivotSet::kCount && first.empty(); ++i) {
    const OutlinePoint& v = o.PartPivots[i];
    if (!(std::isfinite(v.X) && std::isfinite(v.Y) && std::isfinite(v.Z))) first = "Pivot";
  }
  ForEachHinge(o, [&](const char* name, double v) {
    if (first.empty() && !std::isfinite(v)) first = name;
  });
  return first;
}

}  // namespace zarv::model
