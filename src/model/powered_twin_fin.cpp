// The three twin-fin builders share five stages run in a fixed order
// (nacelles, front fuselage, rear fuselage, tail surfaces, finishing); each
// stage reads cells the earlier ones wrote. While they build, Y runs forward
// from the wing root's quarter chord and Z up from the body bottom; the last
// stage moves the outline onto the centre of gravity and the middle of its
// height range.
#include <cmath>

#include "model/powered_common.h"
#include "model/powered_outline.h"
#include "platform/runtime/numeric.h"

namespace zarv::model {

namespace {

using outline_build::HalfRingAngle;
using powered::Interpolate;
using powered::PoweredInputs;
using powered::RingAngle;
using powered::SafeRatio;
using powered::ScanZ;
using powered::Shift;

enum class Layout { WingRoot, Wide, Narrow };

// Nacelle ring helpers: plain ring, and a ring blended with the sign of its
// offsets (a rounded square).
struct Nacelle {
  AirframeOutline& o;
  void Ring(int s, int p, double angle, double r, double cx, double cz, double y) {
    o.NacelleX(s, p) = cx + r * std::sin(angle);
    o.NacelleZ(s, p) = cz + r * std::cos(angle);
    o.NacelleY(s, p) = y;
  }
  void Set(int s, int p, double x, double y, double z) {
    o.NacelleX(s, p) = x;
    o.NacelleY(s, p) = y;
    o.NacelleZ(s, p) = z;
  }
  void Copy(int to, int from) {
    for (int p = 0; p < 12; ++p) Set(to, p, o.NacelleX(from, p), o.NacelleY(from, p), o.NacelleZ(from, p));
  }
  // Box section: outboard corners at cx + h, inboard at cx - h.
  void Box(int s, double cx, double h, double zt, double yt, double zb, double yb) {
    for (int p = 0; p < 12; ++p) {
      const bool top = p < 3 || p > 8;
      const bool outboard = p < 6;
      Set(s, p, outboard ? cx + h : cx - h, top ? yt : yb, top ? zt : zb);
    }
  }
};

// --------------------------------------------------------- nacelles

// Nacelle in the gap between the body side and the wing root.
void BuildWingRootNacelle(AirframeOutline& o, const PoweredInputs& in) {
  auto& WX = o.WingX;
  auto& WY = o.WingY;
  auto& WZ = o.WingZ;
  const double D = in.EngineDiameter;
  const double R = in.WingRootOffset - 0.4;
  const double B = in.BodyHalfWidth;
  const double T = in.TailEndDistance;

  // Crest row of the three innermost stations onto the line through the
  // crests of stations 3 and 2, taken at the root's lateral position.
  const double x0 = WX(0, 2);
  const double yStar = Interpolate(x0, WX(3, 2), WY(3, 2), WX(2, 2), WY(2, 2));
  WX(1, 2) = x0;
  WY(1, 2) = yStar;
  WX(2, 2) = x0;
  WY(2, 2) = yStar;
  WY(0, 2) = yStar;

  const double Zu = WZ(0, 1);
  const double Yu = WY(0, 1);
  const double Yte = WY(0, 0);
  const double Yle = WY(0, 4);

  const double hw3 = (R - B) / 2;
  const double cX = R - hw3;
  const double cZ = Zu - 0.95 * D + 1.3 * hw3;

  Nacelle n{o};
  // Duct mouth (3) and its inner lip (2), slanted boxes.
  const double zt3 = cZ + hw3;
  const double zb3 = zt3 - 2.6 * hw3;
  const double yt3 = Yle + 0.7 * D;
  const double yb3 = yt3 - 1.9 * D;
  n.Box(3, cX, hw3, zt3, yt3, zb3, yb3);
  const double hw2 = 0.9 * hw3;
  const double yt2 = yt3 + 0.3;
  n.Box(2, cX, hw2, zt3 - 0.07, yt2, zb3 + 0.1, (yt2 - 1.9 * D) + 0.3);
  // Duct ring and its floor.
  const double y1 = o.NacelleY(2, 8) - 0.3;
  for (int p = 0; p < 12; ++p) n.Ring(1, p, RingAngle(p), 0.9 * hw2, cX, cZ, y1);
  const double y0 = o.NacelleY(1, 0);
  for (int p = 0; p < 12; ++p) n.Ring(0, p, RingAngle(p), 0.001, cX, cZ, y0);
  // Intake rear: the mouth's outline moved back, its top laid on the wing.
  const double y4 = o.NacelleY(0, 0);
  for (int p = 0; p < 12; ++p) {
    n.Set(4, p, o.NacelleX(3, p), y4, o.NacelleZ(3, p));
    if (p < 3 || p > 8) {
      o.NacelleZ(4, p) = Interpolate(y4, Yu, Zu, WY(0, 2), WZ(0, 2));
    }
  }
  // Flat top on the wing over a rounded lower half.
  const double cos15 = std::cos(15 / kDegreesPerRadian);
  const double c5 = R - 0.97 * D / 2;
  const double r5 = 0.97 * D / 2 / cos15;
  const double z5 = Zu - 1.15 * D + 0.97 * D / 2;
  for (int p = 0; p < 12; ++p) {
    if (p < 3) {
      n.Set(5, p, c5 + 0.97 * D / 2, Yu, Zu);
    } else if (p > 8) {
      n.Set(5, p, c5 - 0.97 * D / 2, Yu, Zu);
    } else {
      const double a = RingAngle(p);
      n.Set(5, p, c5 + 0.7 * r5 * std::sin(a) + 0.3 * r5 * Sgn(std::sin(a)), Yu,
            z5 + 0.7 * r5 * std::cos(a) + 0.3 * r5 * Sgn(std::cos(a)));
    }
  }
  // Rounded section at the trailing edge, repeated as station 7.
  const double r6 = 1.05 * D / 2;
  const double c6 = R - 1.05 * D / 2;
  for (int p = 0; p < 12; ++p) {
    const double a = RingAngle(p);
    if (p < 3 || p > 8) {
      const double cz = Zu - r6;
      n.Set(6, p, c6 + 0.5 * r6 * std::sin(a) + 0.5 * r6 * Sgn(std::sin(a)), Yte,
            cz + 0.5 * r6 * std::cos(a) + 0.5 * r6 * Sgn(std::cos(a)));
    } else {
      n.Ring(6, p, a, r6, c6, Zu - 1.15 * D + r6, Yte);
    }
  }
  n.Copy(7, 6);
  // Circular body, rim, and the nozzle turned back inside itself.
  const double zc = Zu - 1.05 * D / 2;
  for (int p = 0; p < 12; ++p) {
    n.Ring(8, p, RingAngle(p), 1.05 * D / 2 / cos15, c6, zc, 1.8 * D - T);
    n.Ring(9, p, RingAngle(p), 0.98 * D / 2, c6, zc, 1.55 * D - T);
    n.Ring(10, p, 30 * p / kDegreesPerRadian, 0.8 * D / 2, c6, zc, 0.95 * D - T);
    n.Ring(11, p, (30 * p - 15) / kDegreesPerRadian, 0.6 * D / 2, c6, zc, 1.8 * D - T);
  }
  const double y12 = o.NacelleY(11, 0);
  for (int p = 0; p < 12; ++p) n.Ring(12, p, (30 * p - 15) / kDegreesPerRadian, 0.001 * D, c6, zc, y12);
}

// Intake under the wing root and a nacelle running aft as a boom.
void BuildTwinBoomNacelle(AirframeOutline& o, const PoweredInputs& in, double b) {
  auto& WX = o.WingX;
  auto& WY = o.WingY;
  auto& WZ = o.WingZ;
  const double D = in.EngineDiameter;
  const double S = in.WingRootOffset;
  const double R = in.BodyHalfWidth;
  const double T = in.TailEndDistance;

  // Trailing edge a third of the way up from the lower surface; at the boom
  // line up to the upper surface.
  for (int s = 1; s <= 8; ++s) WZ(s, 0) = (WZ(s, 7) + WZ(s, 7) + WZ(s, 1)) / 3;
  WZ(1, 0) = WZ(1, 1);
  WZ(0, 0) = WZ(1, 0);

  Nacelle n{o};
  auto& NX = o.NacelleX;
  auto& NY = o.NacelleY;
  auto& NZ = o.NacelleZ;

  // Raked intake face (3), then its inner lip (2).
  const double h = (WX(1, 6) - b - R) / 2;
  const double c = (S - b) - h;
  for (int p = 0; p < 12; ++p) {
    const double x = p < 6 ? c + h : c - h;
    if (p < 3 || p > 8) {
      n.Set(3, p, x, WY(1, 4) + D, WZ(0, 6));
    } else {
      n.Set(3, p, x, NY(3, 0) - 1.6 * D, WZ(0, 0) - 1.1 * D);
    }
  }
  const double h2 = 0.85 * h;
  for (int p = 0; p < 12; ++p) {
    const double x = p < 6 ? c + h2 : c - h2;
    if (p < 3 || p > 8) {
      n.Set(2, p, x, NY(3, 0) + 0.3, NZ(3, 0) - 0.07);
    } else {
      n.Set(2, p, x, (NY(3, 0) + 0.57) - 1.6 * D, NZ(3, 3) + 0.07);
    }
  }
  const double zD = ((WZ(0, 0) - 1.15 * D) + WZ(0, 6)) / 2;
  // Duct floor, duct ring, intake rear.
  const double y0 = NY(3, 3) - 1.0;
  for (int p = 0; p < 12; ++p) n.Ring(0, p, RingAngle(p), 0.001, c, zD, y0);
  for (int p = 0; p < 12; ++p) n.Ring(1, p, RingAngle(p), (D * 0.5) / 2, c, zD, NY(0, 0));
  for (int p = 0; p < 12; ++p) n.Set(4, p, NX(3, p), NY(0, 0), NZ(3, p));

  // Under the wing: flat tops on the wing over lower half rings.
  const double cos15 = std::cos(15 / kDegreesPerRadian);
  {
    const double a = (0.9 * D) / 2;
    const double xc = (S - b) - a;
    const double yt = WY(1, 1);
    const double zt = WZ(1, 1);
    for (int p = 0; p < 3; ++p) n.Set(5, p, xc + a, yt, zt);
    for (int p = 9; p < 12; ++p) n.Set(5, p, xc - a, yt, zt);
    const double zc = (WZ(1, 0) - 1.1 * D) + a;
    const double r = a / cos15;
    for (int p = 3; p <= 8; ++p) {
      const double t = RingAngle(p);
      n.Set(5, p, xc + (r * 0.5) * Sgn(std::sin(t)) + (r * 0.5) * std::sin(t), yt,
            zc + (r * 0.5) * Sgn(std::cos(t)) + (r * 0.5) * std::cos(t));
    }
  }
  const double a6 = (1.05 * D) / 2;
  const double xc6 = (S - b) - a6;
  {
    const double yt = WY(1, 0);
    const double zt = WZ(1, 0);
    for (int p = 0; p < 3; ++p) n.Set(6, p, xc6 + a6, yt, zt);
    for (int p = 9; p < 12; ++p) n.Set(6, p, xc6 - a6, yt, zt);
    const double zc = (WZ(1, 0) - 1.15 * D) + a6;
    const double r = a6 / cos15;
    for (int p = 3; p <= 8; ++p) n.Ring(6, p, RingAngle(p), r, xc6, zc, yt);
  }
  n.Copy(7, 6);

  // Boom and nozzle.
  const double zc = WZ(1, 0) - (1.05 * D) / 2;
  for (int p = 0; p < 12; ++p) {
    n.Ring(8, p, RingAngle(p), ((1.05 * D) / 2) / cos15, xc6, zc, 1.8 * D - T);
    n.Ring(9, p, RingAngle(p), D / 2, xc6, zc, 1.55 * D - T);
    n.Ring(10, p, 30 * p / kDegreesPerRadian, (0.85 * D) / 2, xc6, zc, 0.8 * D - T);
    n.Ring(11, p, (30 * p - 15) / kDegreesPerRadian, (0.6 * D) / 2, xc6, zc, 1.8 * D - T);
  }
  const double y12 = NY(11, 0);
  for (int p = 0; p < 12; ++p) n.Ring(12, p, (30 * p - 15) / kDegreesPerRadian, 0.001 * D, xc6, zc, y12);

  // Wing root: trailing edge to the nacelle's inboard side, the rest to the
  // body side.
  WX(0, 0) = NX(6, 9);
  WX(0, 1) = NX(4, 9);
  WX(0, 2) = NX(3, 9);
  WX(0, 3) = R;
  WX(0, 4) = R;
  WX(0, 5) = WX(0, 3);
  WX(0, 6) = WX(0, 2);
  WX(0, 7) = WX(0, 1);
}

// --------------------------------------------------- front fuselage

struct Fuselage {
  AirframeOutline& o;
  void Set(int s, int p, double x, double y, double z) {
    o.FrontFuselageX(s, p) = x;
    o.FrontFuselageY(s, p) = y;
    o.FrontFuselageZ(s, p) = z;
  }
};

void BuildWingRootFrontFuselage(AirframeOutline& o, const PoweredInputs& in) {
  auto& NX = o.NacelleX;
  auto& NY = o.NacelleY;
  auto& NZ = o.NacelleZ;
  const double Yn = in.OverallLength - in.TailEndDistance;
  const double H = in.BodyHeight;
  const double W = in.BodyHalfWidth;
  const double Yj = NY(4, 0);
  const double Zr = NZ(6, 8);
  Fuselage f{o};

  // Nose: a 1 mm ring, two circular sections, four flat-sided ones.
  const double fTab[7] = {1, 0.91, 0.75, 0.60, 0.45, 0.30, 0.15};
  for (int s = 0; s <= 2; ++s) {
    const double y = s == 0 ? Yn : Yj + fTab[s] * (Yn - Yj);
    double a = 0;
    double zc = 0;
    if (s == 0) {
      a = 0.001;
      zc = Zr + 0.01 * H;
    } else if (s == 1) {
      a = 0.38 * H / 2;
      zc = (Zr - 0.10 * H) + a;
    } else {
      a = 0.94 * W;
      zc = (Zr - 0.13 * H) + a;
    }
    for (int p = 0; p < 8; ++p) {
      const double t = HalfRingAngle(p);
      f.Set(s, p, a * std::sin(t), y, zc + a * std::cos(t));
    }
  }
  const double zbTab[7] = {0, 0, 0, 0.13, 0.09, 0.08, 0.06};
  const double hTab[7] = {0, 0, 0, 1.03, 1.16, 1.15, 1.05};
  for (int s = 3; s <= 6; ++s) {
    const double y = Yj + fTab[s] * (Yn - Yj);
    const double zb = Zr - zbTab[s] * H;
    const double b = hTab[s] * H / 2 - W;
    const double zc = zb + W + b;
    for (int p = 0; p < 8; ++p) {
      const double t = HalfRingAngle(p);
      const double z = p < 4 ? zc + b + W * std::cos(t) : zc - b + W * std::cos(t);
      f.Set(s, p, W * std::sin(t), y, z);
    }
  }

  // Junction with the nacelle's intake rear.
  {
    const double a = NX(4, 9);
    const double zn = NZ(4, 9);
    for (int p = 0; p < 4; ++p) {
      const double t = HalfRingAngle(p);
      double z = zn - 0.5 * a + a * std::cos(t);
      if (z < zn) z = zn;
      f.Set(7, p, a * std::sin(t), Yj, z);
    }
    f.Set(7, 4, a, Yj, zn);
    f.Set(7, 5, a, Yj, Zr - 0.06 * H);
    f.Set(7, 6, a, Yj, Zr - 0.06 * H);
    f.Set(7, 7, 0, Yj, Zr - 0.06 * H);
  }
  // Flat-bottomed centre body out to the nacelles' inboard faces.
  for (int k = 0; k < 2; ++k) {
    const int st = 8 + k;
    const int ns = 5 + k;
    const double zbot = k == 0 ? Zr - 0.01 * H : Zr;
    const double y = NY(ns, 0);
    const double t90 = 90 / kDegreesPerRadian;
    for (int p = 0; p < 4; ++p) f.Set(st, p, 0.001 + 0.001 * std::sin(t90), y, NZ(ns, 9) + 0.001 * std::cos(t90));
    f.Set(st, 4, NX(ns, 9), y, NZ(ns, 9));
    f.Set(st, 5, NX(ns, 9), y, zbot);
    f.Set(st, 6, NX(ns, 9), y, zbot);
    f.Set(st, 7, 0, y, zbot);
  }
  for (int p = 0; p < 8; ++p) {
    f.Set(10, p, o.FrontFuselageX(9, p), o.FrontFuselageY(9, p), o.FrontFuselageZ(9, p));
  }
  // Tail station, all at one height.
  for (int p = 0; p < 8; ++p) {
    double c = 0.001;
    double y = NY(8, 0) - 0.5;
    if (p == 1 || p == 2 || p == 5 || p == 6) c = 0.7 * NX(7, 9);
    if (p == 3 || p == 4) {
      c = NX(8, 9);
      y = NY(8, 0);
    }
    double x = c + 0.001 * std::sin(HalfRingAngle(p));
    if (x < 0) x = 0;
    f.Set(11, p, x, y, NZ(8, 9));
  }
  // The nacelle's lower inboard points meet the fuselage bottom.
  NZ(4, 8) = o.FrontFuselageZ(7, 5);
  NZ(5, 8) = o.FrontFuselageZ(8, 5);
}

void BuildTwinBoomFrontFuselage(AirframeOutline& o, const PoweredInputs& in, double droopDivisor) {
  auto& WX = o.WingX;
  auto& WY = o.WingY;
  auto& WZ = o.WingZ;
  const double Yn = in.OverallLength - in.TailEndDistance;
  const double H = in.BodyHeight;
  const double W = in.BodyHalfWidth;
  const double Yw = WY(0, 4);
  const double Yr = WY(0, 1);
  const double Yt = WY(2, 0);
  const double Bx = o.NacelleX(7, 9);
  const double By = o.NacelleY(8, 0);
  const double Bz = o.NacelleZ(8, 9);
  Fuselage f{o};

  // The nose droops towards its tip. A nose tip level with the root point
  // would divide by zero: no droop then.
  auto droop = [&](double y) {
    if (Yn == Yr) return 0.0;
    return H * std::sin(1.5 * (y - Yr) / (Yn - Yr)) / droopDivisor;
  };
  struct Ellipse {
    double y, a, b, zs;
  };
  const double b1 = 0.38 * H / 2;
  const double b2 = 0.64 * H / 2;
  const double b3 = 0.83 * H / 2;
  const double b4 = 1.03 * H / 2;
  const double b5 = 1.1 * H / 2;
  const double b6 = 1.08 * H / 2;
  const double b7 = 0.98 * H / 2;
  const Ellipse nose[8] = {
      {Yn, 0.001, 0.001, 0.14 * H},
      {Yw + 0.85 * (Yn - Yw), 0.3 * H / 2, b1, b1 + 0.01 * H},
      {Yw + 0.66 * (Yn - Yw), 0.57 * H / 2, b2, b2 - 0.03},
      {Yw + 0.44 * (Yn - Yw), 0.73 * H / 2, b3, b3},
      {Yw + 0.22 * (Yn - Yw), 0.93 * W, b4, b4},
      {Yw, W, b5, b5},
      {WY(0, 3), W, b6, b6},
      {WY(0, 2), W, b7, b7},
  };
  for (int s = 0; s < 8; ++s) {
    const Ellipse& e = nose[s];
    const double cs = e.zs + WZ(0, 6) - droop(e.y);
    for (int p = 0; p < 8; ++p) {
      const double t = HalfRingAngle(p);
      f.Set(s, p, e.a * std::sin(t), e.y, cs + e.b * std::cos(t));
    }
  }
  // Along the root: upper half from the root's aft upper point.
  {
    const double y = WY(0, 1);
    const double a = 0.72 * WX(0, 1);
    const double b = WX(0, 1) / 2;
    const double c = WZ(0, 1);
    for (int p = 0; p < 4; ++p) {
      const double t = HalfRingAngle(p);
      f.Set(8, p, a * std::sin(t), y, c + b * std::cos(t));
    }
    f.Set(8, 4, WX(0, 1), y, WZ(0, 1));
    f.Set(8, 5, WX(0, 1), y, WZ(0, 7));
    f.Set(8, 6, WX(0, 1), y, WZ(0, 7));
    f.Set(8, 7, 0, y, WZ(0, 7) - 0.2);
  }
  // Two stations at the trailing edge.
  {
    const double t90 = 90 / kDegreesPerRadian;
    for (int p = 0; p < 4; ++p) f.Set(9, p, 0.001 + 0.001 * std::sin(t90), Yt, WZ(0, 0) + 0.001 * std::cos(t90));
    f.Set(9, 4, WX(0, 0), Yt, WZ(0, 0));
    f.Set(9, 5, WX(0, 0), Yt, Bz);
    f.Set(9, 6, WX(0, 0), Yt, Bz);
    f.Set(9, 7, 0, Yt, Bz);
    for (int p = 0; p < 8; ++p) {
      const double x = (p == 0 || p == 7) ? 0.0 : WX(0, 0);
      const double z = p <= 4 ? WZ(0, 0) : Bz;
      f.Set(10, p, x, Yt, z);
    }
  }
  // Closing station, flat at the booms' inboard height.
  for (int p = 0; p < 8; ++p) {
    double e = 0.001;
    double y = By - 0.5;
    if (p == 1 || p == 2 || p == 5 || p == 6) e = 0.7 * Bx;
    if (p == 3 || p == 4) {
      e = Bx;
      y = By;
    }
    double x = e + 0.001 * std::sin(HalfRingAngle(p));
    if (x < 0) x = 0;
    f.Set(11, p, x, y, Bz);
  }
  // The waist follows the wing root section.
  auto pin = [&](int s, int p, int q) { f.Set(s, p, WX(0, q), WY(0, q), WZ(0, q)); };
  pin(5, 4, 4);
  pin(5, 5, 4);
  pin(6, 4, 3);
  pin(6, 5, 5);
  f.Set(7, 3, WX(0, 2), WY(0, 2), WZ(0, 1));
  pin(7, 4, 2);
  pin(7, 5, 6);
  pin(8, 4, 1);
}

// ---------------------------------------------------- rear fuselage

// Keel body under wing station 1 that carries the fin, and its joins.
void BuildRearFuselage(AirframeOutline& o, const PoweredInputs& in, Layout layout) {
  auto& WX = o.WingX;
  auto& WY = o.WingY;
  auto& WZ = o.WingZ;
  auto& RX = o.RearFuselageX;
  auto& RY = o.RearFuselageY;
  auto& RZ = o.RearFuselageZ;
  const double D = in.EngineDiameter;
  const double T = in.TailEndDistance;
  const double Yle = WY(1, 4);
  const double Y1 = WY(1, 1);
  const double Yte = WY(1, 0);
  const double Zm = WZ(1, 6);
  const double Zl = WZ(1, 7);
  const double Zt = WZ(1, 0);
  const double Zk = Zt - D / 2;
  const bool wingRoot = layout == Layout::WingRoot;
  const bool box = layout != Layout::Wide;
  const double width = box ? 0.4 : 0.0;

  for (int p = 0; p < 8; ++p) {
    RY(0, p) = wingRoot ? Y1 : Yle;
    RY(1, p) = Y1;
    RY(2, p) = Yte;
    RY(3, p) = wingRoot ? 0.9 * D - T : 1.3 * D - T;
  }

  auto ringA = [&](int s) {
    const double S = WX(1, 7);
    for (int p = 0; p < 8; ++p) {
      if (p < 3) {
        RX(s, p) = S;
        RZ(s, p) = Zl;
      } else if (p < 6) {
        RX(s, p) = box ? S - 0.4 : S;
        RZ(s, p) = Zk;
      } else {
        RX(s, p) = box ? S - 0.4 : S;
        RZ(s, p) = Zl;
      }
    }
  };
  if (wingRoot) {
    ringA(0);
    for (int p = 0; p < 8; ++p) {
      RX(1, p) = RX(0, p);
      RZ(1, p) = RZ(0, p);
    }
  } else {
    for (int p = 0; p < 8; ++p) {
      RX(0, p) = WX(1, 6) - width;
      RZ(0, p) = Zm;
    }
    ringA(1);
  }

  {
    const double S = WX(1, 0);
    const double inner = box ? S - 0.4 : S;
    const double xs[8] = {S, S, S, box ? S - 0.05 : S, inner, inner, inner, inner};
    const double zs[8] = {Zt, Zt, Zk + 0.05, Zk, Zk, Zk, Zt, Zt};
    for (int p = 0; p < 8; ++p) {
      RX(2, p) = xs[p];
      RZ(2, p) = zs[p];
    }
  }
  {
    const double S = WX(1, 0);
    if (box) {
      const double xs[8] = {S - 0.05, S, S, S - 0.05, S - 0.4 + 0.05, S - 0.4, S - 0.4, S - 0.4 + 0.15};
      const double zs[8] = {Zt - 0.2,         Zt - 0.05 - 0.2,  Zk + 0.05 - 0.08, Zk - 0.08,
                            Zk - 0.08,        Zk + 0.05 - 0.08, Zt - 0.15 - 0.2,  Zt - 0.2};
      for (int p = 0; p < 8; ++p) {
        RX(3, p) = xs[p];
        RZ(3, p) = zs[p];
      }
    } else {
      for (int p = 0; p < 8; ++p) {
        RX(3, p) = S;
        RZ(3, p) = Zk;
      }
    }
  }
  for (int p = 0; p < 8; ++p) {
    RY(4, p) = -T;
    RX(4, p) = WX(1, 0);
    RZ(4, p) = Zk;
  }

  if (wingRoot) {
    // The wing root closes the front of the keel body.
    WZ(0, 7) = RZ(1, 3);
    WZ(0, 6) = (WZ(0, 6) + WZ(0, 6) + RZ(1, 3)) / 3;
    return;
  }
  // Nacelle top corners: outboard onto the keel's inboard edge, inboard onto
  // the front fuselage's lower line.
  auto& NY = o.NacelleY;
  auto& NZ = o.NacelleZ;
  auto& FY = o.FrontFuselageY;
  auto& FZ = o.FrontFuselageZ;
  NZ(4, 0) = Interpolate(NY(4, 0), RY(0, 5), RZ(0, 5), RY(1, 5), RZ(1, 5));
  NZ(4, 1) = NZ(4, 0);
  NZ(4, 2) = NZ(4, 0);
  for (int p = 9; p < 12; ++p) NZ(4, p) = FZ(8, 6);
  for (int p = 0; p < 3; ++p) NZ(5, p) = RZ(1, 5);
  NZ(5, 9) = Interpolate(NY(5, 9), FY(8, 6), FZ(8, 6), FY(9, 6), FZ(9, 6));
  NZ(5, 10) = NZ(5, 9);
  NZ(5, 11) = NZ(5, 9);
  for (int p = 0; p < 3; ++p) NZ(6, p) = RZ(2, 5);
  for (int p = 9; p < 12; ++p) NZ(6, p) = FZ(9, 6);
}

// ---------------------------------------------------- tail surfaces

void BuildTwinFinTail(AirframeOutline& o, const PoweredInputs& in) {
  powered::WriteTailSection(o, in.TailFactor);
  powered::BuildTailplaneRows(o, in.WingRootOffset, in);

  const auto& c = o.SectionTemplate.Chordwise;
  const auto& t = o.SectionTemplate.Thickness;
  const double cF = in.FinChord;
  const double wF = in.FinSweep;
  const double e = in.FinHalfSpacing;
  const double tau = in.FinTilt;
  const double t1 = t[1];
  const double h = in.FinSpan / 2;
  const double g = cF * t1 / std::cos(tau) * 1.5;
  const double W = o.WingY(2, 0);
  const double Y2 = o.RearFuselageY(2, 0);
  const double Y3 = o.RearFuselageY(3, 0);
  const double Z2 = o.RearFuselageZ(2, 0);
  const double Z3 = o.RearFuselageZ(3, 0);

  // Hinge line at the fin arm, moved back where the fin root would reach
  // ahead of the wing's trailing edge.
  o.FinHingeY = -in.FinArm;
  const double yle = cF * c[3] * 1.5 + o.FinHingeY + wF * 0.35;
  const double ymid = ((cF * c[2] * 1.5 + wF * 0.35) + (cF * c[3] * 1.5 + wF * 0.35)) / 2 + o.FinHingeY;
  if (yle > W && ymid < W) {
    o.FinHingeY = W - (cF * c[3] * 1.5 + wF * 0.35);
  } else if (ymid > W) {
    o.FinHingeY = W - (cF * c[2] * 1.5 + wF * 0.35);
  }

  auto& X = o.TailX;
  auto& Y = o.TailY;
  auto& Z = o.TailZ;
  const double st = std::sin(tau);
  const double ct = std::cos(tau);
  // Root height on the line through the keel's top points of stations 2
  // and 3; stations at one Y give the nearer station's height.
  auto rootZ = [&](double y) {
    const double yy = o.FinHingeY + y;
    if (Y2 - Y3 == 0.0) return std::fabs(yy - Y3) < std::fabs(yy - Y2) ? Z3 : Z2;
    return Z2 + (yy - Y2) / (Y2 - Y3) * (Z2 - Z3);
  };
  for (int j = 0; j < 6; ++j) {
    X(6, j) = -e - h * st + 0.001 * t[j] + g;
    Y(6, j) = 0.001 * c[j] - 0.75 * wF;
    Z(6, j) = h * ct + Z2 + 0.001 * t[j];
  }
  for (int j = 0; j < 6; ++j) {
    X(7, j) = -e - h * st + 0.5 * cF * t[j] * ct + g;
    Y(7, j) = 0.5 * cF * c[j] - 0.75 * wF;
    Z(7, j) = h * ct + Z2 + 0.5 * cF * t[j] * st;
  }
  for (int j = 0; j < 6; ++j) {
    X(8, j) = 1.5 * (cF * t[j] + cF * t1) / ct - e;
    Y(8, j) = 1.5 * cF * c[j] + 0.35 * wF;
    Z(8, j) = rootZ(Y(8, j));
  }
  Z(8, 3) = Z2;
  for (int j = 0; j < 6; ++j) {
    X(9, j) = e + h * st + 0.001 * t[j] - g;
    Y(9, j) = Y(6, j);
    Z(9, j) = h * ct + Z2 - 0.001 * t[j];
  }
  for (int j = 0; j < 6; ++j) {
    X(10, j) = e + h * st + 0.5 * cF * t[j] * ct - g;
    Y(10, j) = Y(7, j);
    Z(10, j) = h * ct + Z2 - 0.5 * cF * t[j] * st;
  }
  for (int j = 0; j < 6; ++j) {
    X(11, j) = 1.5 * (cF * t[j] - cF * t1) / ct + e;
    Y(11, j) = Y(8, j);
    Z(11, j) = Z(8, j);
  }
}

// ------------------------------ finishing: extent, centring, pivots

void FinishTwinFinOutline(AirframeOutline& o, const PoweredInputs& in, Layout layout) {
  o.OutlineZMax = 0.0;
  o.OutlineZMin = 3.0;
  ScanZ(o.FrontFuselageZ, o.OutlineZMax, o.OutlineZMin);
  ScanZ(o.RearFuselageZ, o.OutlineZMax, o.OutlineZMin);
  ScanZ(o.WingZ, o.OutlineZMax, o.OutlineZMin);
  ScanZ(o.NacelleZ, o.OutlineZMax, o.OutlineZMin);
  const double zMid = (o.OutlineZMin + o.OutlineZMax) / 2;
  const double dY = (in.CgChordFraction - 0.25) * in.MeanChord;

  Shift(o.FrontFuselageY, o.FrontFuselageZ, dY, zMid);
  Shift(o.RearFuselageY, o.RearFuselageZ, dY, zMid);
  Shift(o.WingY, o.WingZ, dY, zMid);
  auto& TX = o.TailX;
  auto& TY = o.TailY;
  auto& TZ = o.TailZ;
  for (int s = 6; s < 12; ++s) {
    for (int j = 0; j < 6; ++j) TZ(s, j) = TZ(s, j) - zMid;
  }

  o.TailplaneHingeY = dY - in.TailplaneArm;
  o.TailplaneHingeZ = o.WingZ(0, 0) - in.EngineDiameter / 2 + TZ(2, 2);
  o.FinHingeY = o.FinHingeY + dY;

  PartPivotSet& pv = o.PartPivots;
  pv.FinPivot2 = {TX(11, 3), TY(11, 3), TZ(11, 2)};

  // Where the tail stage stood root point 2 on the wing's trailing edge, the
  // leading-edge point slides along the fin's leading edge onto it too.
  const double c2 = o.SectionTemplate.Chordwise[2];
  if (std::fabs(o.FinHingeY - (o.WingY(0, 0) - (1.45 * in.FinChord * c2 + 0.35 * in.FinSweep))) < 0.005) {
    const double yt = o.WingY(0, 0) - o.FinHingeY;
    const double dy = yt - TY(8, 3);
    const double m = SafeRatio(TZ(7, 3) - TZ(8, 3), TY(7, 3) - TY(8, 3));
    TX(8, 3) = TX(8, 3) - m * dy * std::tan(in.FinTilt);
    TZ(8, 3) = TZ(8, 2) + m * dy;
    TY(8, 3) = yt;
    TX(11, 3) = -TX(8, 3);
    TZ(11, 3) = TZ(8, 3);
    TY(11, 3) = TY(8, 3);
  }
  pv.FinPivot2.Y = pv.FinPivot2.Y + o.FinHingeY;

  Shift(o.NacelleY, o.NacelleZ, dY, zMid);

  const bool wingRoot = layout == Layout::WingRoot;
  const auto& WX = o.WingX;
  const auto& WY = o.WingY;
  const auto& WZ = o.WingZ;
  const double A = WY(1, 6);
  const double zf = (WZ(1, 6) + WZ(1, 1)) / 2;
  const double zr = o.RearFuselageZ(2, 4);
  const double yr = (o.RearFuselageY(4, 0) + o.RearFuselageY(2, 0)) / 2;
  const double fs = in.FinHalfSpacing;
  const double D = in.EngineDiameter;

  pv.ForeFrontFuselagePivot = {0, A, zf};
  if (wingRoot) {
    pv.CentreWingPivot = {WX(1, 6), A + 0.001, zf};
  } else {
    pv.CentreWingPivot = {(WX(1, 6) + WX(0, 6)) / 2, A, zf};
  }
  const double cw = pv.CentreWingPivot.X;
  pv.InnerWingPivot = {(WX(3, 6) + WX(2, 6)) / 2, pv.CentreWingPivot.Y, zf};
  pv.OuterWingPivot = {(WX(8, 6) + WX(4, 6)) / 2, pv.CentreWingPivot.Y, zf};
  pv.ForeRearFuselagePivot = {wingRoot ? cw : fs, A, zr};
  pv.MidRearFuselagePivot = {fs, A - 0.001, zr};
  pv.AftRearFuselagePivot = {fs, yr, zr};
  pv.AftFrontFuselagePivot = {0, yr, zr};
  if (wingRoot) {
    pv.NacellePivot1 = {cw - D / 2, A + 0.001, zf};
    pv.NacellePivot2 = {cw - D / 2, yr, zr};
  } else {
    pv.NacellePivot1 = {cw, A - 0.003, zr};
    pv.NacellePivot2 = {cw, yr, zr};
  }
  pv.FinPivot1 = {fs, yr - SafeRatio(TZ(8, 2) - TZ(8, 1), TY(8, 2) - TY(8, 1)), TZ(8, 0) + 1.0};
  pv.FinPivot3 = {cw, A, pv.FinPivot1.Z};
  pv.TailplanePivot = {TX(3, 0) + 0.3, yr, zr};
}

void BuildTwinFin(const aircraft::AircraftData& aircraft, const OutlineInputs& sizes,
                  AirframeOutline& o, Layout layout) {
  const PoweredInputs in = powered::GatherInputs(aircraft, sizes);
  outline_build::ClearForBuild(o);
  if (layout == Layout::WingRoot) {
    BuildWingRootNacelle(o, in);
    BuildWingRootFrontFuselage(o, in);
  } else {
    BuildTwinBoomNacelle(o, in, layout == Layout::Narrow ? 0.4 : 0.0);
    BuildTwinBoomFrontFuselage(o, in, layout == Layout::Narrow ? 4.0 : 2.0);
  }
  BuildRearFuselage(o, in, layout);
  BuildTwinFinTail(o, in);
  FinishTwinFinOutline(o, in, layout);
}

}  // namespace

void BuildUnderwingNacelleOutline(const aircraft::AircraftData& aircraft, const OutlineInputs& sizes,
                                  AirframeOutline& outline) {
  BuildTwinFin(aircraft, sizes, outline, Layout::WingRoot);
}

void BuildWideNacelleOutline(const aircraft::AircraftData& aircraft, const OutlineInputs& sizes,
                             AirframeOutline& outline) {
  BuildTwinFin(aircraft, sizes, outline, Layout::Wide);
}

void BuildNarrowNacelleOutline(const aircraft::AircraftData& aircraft, const OutlineInputs& sizes,
                               AirframeOutline& outline) {
  BuildTwinFin(aircraft, sizes, outline, Layout::Narrow);
}

}  // namespace zarv::model
