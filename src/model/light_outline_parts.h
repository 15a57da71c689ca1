// Pieces shared by the two light-aircraft outline builders (pod body and
// sliced fairing): the six-point tail section, the straight and tapered
// tailplanes and the central fin. Internal to the builders.
#pragma once

#include <cstddef>

#include "model/outline.h"

namespace zarv::model::light_outline {

// num / den, or 0 when den is 0: the builders' ratios that a degenerate
// aircraft would otherwise turn into inf or NaN.
inline double GuardedRatio(double num, double den) { return den != 0.0 ? num / den : 0.0; }

// Points 0-5 of the template become the closed tail section (0 trailing
// edge, 3 leading edge); elements 6 and 7 keep what they held.
inline void WriteTailSection(SectionTemplateData& t) {
  static constexpr double kChord[6] = {-0.75, -0.3, 0.07, 0.25, 0.07, -0.3};
  static constexpr double kThick[6] = {0.0, 0.05, 0.05, 0.0, -0.05, -0.05};
  for (int p = 0; p < 6; ++p) {
    t.Chordwise[static_cast<std::size_t>(p)] = kChord[p];
    t.Thickness[static_cast<std::size_t>(p)] = kThick[p];
  }
}

// Tapered one-piece tailplane of a single fin: root chord 1.3 ct at the
// centre, 0.7 ct at the half-span bt, pointed tips 0.2 m further out.
// Y and Z relative to the tailplane hinge.
inline void WriteTaperedTailplane(AirframeOutline& o, double bt, double ct, double et) {
  const SectionTemplateData& t = o.SectionTemplate;
  for (int p = 0; p < 6; ++p) {
    const double c = t.Chordwise[static_cast<std::size_t>(p)];
    const double th = t.Thickness[static_cast<std::size_t>(p)];
    o.TailX(0, p) = -bt - 0.2;
    o.TailY(0, p) = 0.001 * c - 0.65 * et - 0.65 * 0.7 * ct;
    o.TailZ(0, p) = 0.001 * th;
    o.TailX(1, p) = -bt;
    o.TailY(1, p) = 0.7 * ct * c - 0.65 * et;
    o.TailZ(1, p) = 0.7 * ct * th;
    for (int s = 2; s <= 3; ++s) {
      o.TailX(s, p) = 0.0;
      o.TailY(s, p) = 1.3 * ct * c + 0.35 * et;
      o.TailZ(s, p) = 1.3 * ct * th;
    }
    o.TailX(4, p) = bt;
    o.TailY(4, p) = o.TailY(1, p);
    o.TailZ(4, p) = o.TailZ(1, p);
    o.TailX(5, p) = bt + 0.2;
    o.TailY(5, p) = o.TailY(0, p);
    o.TailZ(5, p) = o.TailZ(0, p);
  }
}

// Straight tailplane of constant chord ct between twin fins at +-hs.
inline void WriteStraightTailplane(AirframeOutline& o, double hs, double ct) {
  const SectionTemplateData& t = o.SectionTemplate;
  for (int p = 0; p < 6; ++p) {
    const double c = t.Chordwise[static_cast<std::size_t>(p)];
    const double th = t.Thickness[static_cast<std::size_t>(p)];
    o.TailX(0, p) = -hs + 0.04;
    o.TailY(0, p) = 0.001 * c;
    o.TailZ(0, p) = 0.001 * th;
    o.TailX(1, p) = -hs + 0.05;
    o.TailY(1, p) = ct * c;
    o.TailZ(1, p) = ct * th;
    for (int s = 2; s <= 3; ++s) {
      o.TailX(s, p) = 0.0;
      o.TailY(s, p) = ct * c;
      o.TailZ(s, p) = ct * th;
    }
    o.TailX(4, p) = hs - 0.05;
    o.TailY(4, p) = ct * c;
    o.TailZ(4, p) = ct * th;
    o.TailX(5, p) = hs - 0.04;
    o.TailY(5, p) = 0.001 * c;
    o.TailZ(5, p) = 0.001 * th;
  }
}

// Central fin, tail sections 6 to 11, fin height hf and mean chord cf, tail
// end at height e. Tall: 0.7 of the fin above the tail end and 0.3 below;
// otherwise the fin stands on the tail end over a short fairing. X and Y
// relative to the fin hinge, Z absolute.
inline void WriteCentralFin(AirframeOutline& o, bool tall, double hf, double cf, double ef,
                            double e) {
  const SectionTemplateData& t = o.SectionTemplate;
  for (int p = 0; p < 6; ++p) {
    const double c = t.Chordwise[static_cast<std::size_t>(p)];
    const double th = t.Thickness[static_cast<std::size_t>(p)];
    o.TailX(6, p) = 0.001 * th;
    o.TailY(6, p) = 0.001 * c - 0.65 * ef - 0.65 * 0.7 * cf;
    o.TailX(7, p) = 0.7 * cf * th;
    o.TailY(7, p) = 0.7 * cf * c - 0.65 * ef;
    for (int s = 8; s <= 9; ++s) {
      o.TailX(s, p) = 1.3 * cf * th;
      o.TailY(s, p) = 1.3 * cf * c + 0.35 * ef;
    }
    if (tall) {
      o.TailZ(6, p) = 0.7 * hf + e + 0.2;
      o.TailZ(7, p) = 0.7 * hf + e;
      o.TailZ(8, p) = e;
      o.TailZ(9, p) = e;
      o.TailX(10, p) = 0.7 * cf * th;
      o.TailY(10, p) = 0.7 * cf * c - 0.65 * ef;
      o.TailZ(10, p) = e - 0.3 * hf;
      o.TailX(11, p) = 0.001 * th;
      o.TailY(11, p) = 0.001 * c - 0.65 * ef;
      o.TailZ(11, p) = e - 0.3 * hf - 0.05;
    } else {
      o.TailZ(6, p) = hf + e + 0.32;
      o.TailZ(7, p) = hf + e + 0.12;
      o.TailZ(8, p) = 0.25 * hf + e + 0.12;
      o.TailZ(9, p) = o.TailZ(8, p);
      o.TailX(10, p) = cf * th;
      o.TailY(10, p) = 0.3 * cf * c;
      o.TailZ(10, p) = e + 0.12;
      o.TailX(11, p) = 0.001 * th;
      o.TailY(11, p) = 0.001 * c;
      o.TailZ(11, p) = e + 0.1;
    }
  }
}

}  // namespace zarv::model::light_outline
