#include "view/screen_art.h"

#include <cmath>

#include "platform/runtime/angles.h"
#include "platform/runtime/files.h"
#include "platform/runtime/numeric.h"
#include "platform/runtime/text.h"
#include "platform/ui/bmp.h"
#include "platform/ui/gdi.h"
#include "view/panel_drawing.h"

namespace zarv::view {

namespace {


// Single-precision coordinates, as the drawing calls take them.
double F(double v) { return static_cast<double>(static_cast<float>(v)); }

void FillPoly(Surface& p, std::initializer_list<PointI> pts) {
  Polygon(p, pts.begin(), static_cast<int>(pts.size()));
}

PointI Pt(double x, double y) { return {CLng(x), CLng(y)}; }

void PrintAt(Surface& p, double x, double y, const std::string& text) {
  p.SetCurrentX(x);
  p.SetCurrentY(y);
  p.Print(text);
}

// The arched rim's offset above y = 115S at column x.
int32_t RimOffset(int32_t x, double s) {
  int32_t g = CLng(-120 * s * std::sin((x - 30 * s) / 480 / s * kPi));
  if (g < CLng(-115 * s)) g = CLng(-115 * s);
  return g;
}

std::string Digit(int n) { return Format(n, "0"); }

}  // namespace

int SizeChoiceOf(double screenScale) {
  if (screenScale == 1.25) return 1;
  if (screenScale == 1.6) return 2;
  return 0;
}

void DrawPanelFace(Surface& p, double s, double fontScale) {
  p.ClearPicture();
  p.SetBackColor(vbBlack);
  p.Resize(CLng(540 * s), CLng(220 * s));
  p.Cls();
  p.SetFillStyle(vbFSSolid);
  p.SetFontName("ＭＳ ゴシック");
  p.SetFontBold(false);
  p.SetFontTransparent(true);
  p.SetFillColor(0x999999);
  p.SetForeColor(0x999999);
  p.SetDrawWidth(1);

  // Body.
  FillPoly(p, {Pt(30 * s, 115 * s), Pt(510 * s, 115 * s), Pt(510 * s, 152 * s), Pt(30 * s, 152 * s)});
  FillPoly(p, {Pt(21 * s, 132 * s), Pt(519 * s, 132 * s), Pt(540 * s, 240 * s), Pt(0, 240 * s)});
  p.Circle(F(42 * s), F(132 * s), F(20 * s));
  p.Circle(F(498 * s), F(132 * s), F(20 * s));

  // Arched top rim.
  p.SetDrawWidth(3);
  for (int32_t x = CLng(30 * s); x <= CLng(510 * s); ++x) {
    const int32_t g = RimOffset(x, s);
    const double t = 115 * s + g;
    p.PSet(x, F(t + 2), Color{0xDDDDDD});
    p.PSet(x, F(t + 4), Color{0xBBBBBB});
    p.PSet(x, F(t + 5), Color{0x999999});
    p.PSet(x, F(t + 6), Color{0x999999});
    p.PSet(x, F(t + 7), Color{0x777777});
    p.Line(x, F(t + 8), x, F(0.93 * g + 115 * s + 14), Color{0x444444});
    p.PSet(x, F(0.93 * g + 115 * s + 15), Color{0x777777});
    p.Line(x, F(0.93 * g + 115 * s + 17), x, F(240 * s), Color{0x999999});
  }

  // Bevels of the slanted sides and the shoulders.
  p.SetDrawWidth(2);
  const std::pair<int, Color> sides[] = {{13, 0x777777}, {11, 0x444444}, {9, 0x444444},
                                         {7, 0x444444},  {5, 0x777777},  {2, 0xBBBBBB},
                                         {1, 0xDDDDDD},  {4, 0x999999},  {3, 0x999999}};
  for (const auto& [d, c] : sides) {
    p.Line(F(519 * s - d), F(132 * s), F(540 * s - 1), F(240 * s), c);
    p.Line(F(21 * s + d), F(132 * s), 1, F(240 * s), c);
  }
  const std::pair<int, Color> shoulders[] = {{1, 0xDDDDDD},  {3, 0xBBBBBB}, {4, 0x999999},
                                             {5, 0x777777},  {7, 0x444444}, {9, 0x444444},
                                             {11, 0x444444}, {13, 0x777777}, {14, 0x999999}};
  for (const auto& [d, c] : shoulders) {
    p.Circle(F(42 * s), F(132 * s), F(20 * s - d), c, 2.342, 3.042);
    p.Circle(F(498 * s), F(132 * s), F(20 * s - d), c, 0.1, 0.8);
  }

  // Dial bezels and faces.
  p.SetFillColor(vbBlack);
  p.SetDrawWidth(2);
  using panel::kAltitudeDialX;
  using panel::kAltitudeDialY;
  const double dials[5][2] = {{160, 100}, {kAltitudeDialX, kAltitudeDialY}, {260, 200}, {360, 200}, {460, 170}};
  for (int i = 0; i <= 720; ++i) {
    const double a = i / 360.0 * 3.14;
    const int32_t v = CLng(((std::cos((i - 90) / 360.0 * 3.14) + 1) / 2) * 180 + 50);
    const Color c = static_cast<Color>(v) * 0x10101u;
    for (const auto& d : dials) {
      p.Line(CLng((d[0] + 40 * std::sin(a)) * s), CLng((d[1] + 40 * std::cos(a)) * s),
             CLng((d[0] + 45 * std::sin(a)) * s), CLng((d[1] + 45 * std::cos(a)) * s), c);
    }
  }
  for (const auto& d : dials) p.Circle(F(d[0] * s), F(d[1] * s), F(40 * s), vbBlack);

  // Airspeed and altimeter: 50 ticks, numbers 0..9.
  auto roundDial = [&](double cx, double cy, double nx, double ny, const char* caption, double capX,
                       double capY) {
    p.SetDrawWidth(1);
    p.SetForeColor(vbWhite);
    p.SetFontSize(9 * s * fontScale);
    for (int i = 0; i <= 49; ++i) {
      const double a = i / 25.0 * 3.14;
      const double len = i % 5 == 0 ? 6 : 3;
      p.Line(CLng((cx + 40 * std::sin(a)) * s), CLng((cy - 40 * std::cos(a)) * s),
             CLng((cx + (40 - len) * std::sin(a)) * s), CLng((cy - (40 - len) * std::cos(a)) * s),
             vbWhite);
      if (i % 5 == 0)
        PrintAt(p, CLng((nx + (36 - len) * std::sin(a)) * s), CLng((ny - (36 - len) * std::cos(a)) * s),
                Format(i / 5, "#0"));
    }
    PrintAt(p, capX * s, capY * s, caption);
  };
  roundDial(160, 100, 158, 94, "計器速度", 136, 87);
  roundDial(kAltitudeDialX, kAltitudeDialY, kAltitudeDialX - 2, kAltitudeDialY - 6, "高度", 370, 87);

  // Climb dial.
  p.SetFontSize(8 * s * fontScale);
  for (int i = -30; i <= 30; ++i) {
    const double b = (i / 5.0) * 0.4;
    const double len = i % 5 == 0 ? 6 : 3;
    p.Line(CLng((460 - 40 * std::cos(b)) * s), CLng((170 - 40 * std::sin(b)) * s),
           CLng((460 - (40 - len) * std::cos(b)) * s), CLng((170 - (40 - len) * std::sin(b)) * s),
           vbWhite);
    if (i % 5 == 0)
      PrintAt(p, CLng((459 - (36 - len) * std::cos(b)) * s), CLng((165 - (36 - len) * std::sin(b)) * s),
              Format(std::abs(i) / 5, "#0"));
  }
  PrintAt(p, 436 * s, 158 * s, "＋");
  PrintAt(p, 436 * s, 172 * s, "－");

  // The two small scales.
  for (int i = -10; i <= 10; ++i) {
    const int len = i % 10 == 0 ? 7 : (i % 5 == 0 ? 4 : 2);
    const double x = Int(270 * s + 0.5) - 3 * i;
    p.LineStep(x, F(50 * s - 3), 0, -len, vbWhite);
  }
  for (int i = -15; i <= 10; ++i) {
    const int len = i % 10 == 0 ? 6 : (i % 5 == 0 ? 4 : 2);
    const double y = F(112 * s + 3 * i);
    p.LineStep(F(265 * s - 2), y, -len, 0, vbWhite);
    p.LineStep(F(275 * s + 1), y, len, 0, vbWhite);
  }

  // Display windows.
  p.SetFillColor(vbBlack);
  p.SetDrawWidth(2);
  p.SetFontSize(10 * s * fontScale);
  struct Window {
    bool Filled;
    double FX, FY, FW, FH;  // filled box
    double OX, OY, OW, OH;  // outline
    Color OC;
    double EX, EY, EL;      // right edge
    Color EC;
    double Far;             // far edge, to the left
  };
  const Window windows[] = {
      {false, 0, 0, 0, 0, 65 * s - 1, 106 * s - 1, 43 * s + 2, 24 * s + 2, 0x444444, 108 * s + 1, 106 * s - 1, 24 * s + 2, 0xDDDDDD, 43 * s + 1},
      {false, 0, 0, 0, 0, 432 * s - 1, 105 * s - 1, 40 * s + 2, 13 * s + 2, 0x444444, 472 * s + 1, 105 * s - 1, 13 * s + 2, 0xDDDDDD, 40 * s + 1},
      {false, 0, 0, 0, 0, 270 * s - 35, 50 * s - 1, 70, 10 * s + 1, 0x606060, 270 * s + 36, 50 * s, 10 * s + 1, 0xE0E0E0, 72},
      {false, 0, 0, 0, 0, 265 * s, 112 * s - 48, 10 * s, 81, 0x606060, 275 * s, 112 * s - 48, 81, 0xE0E0E0, 10 * s},
      {true, 213 * s, 65 * s, 40 * s, 80 * s, 213 * s - 1, 65 * s - 1, 40 * s + 2, 80 * s + 2, 0x444444, 253 * s + 1, 65 * s - 1, 80 * s + 2, 0xDDDDDD, 40 * s + 2},
      {true, 287 * s, 65 * s, 40 * s, 80 * s, 287 * s - 1, 65 * s - 1, 40 * s + 2, 80 * s + 2, 0x444444, 327 * s + 1, 65 * s - 1, 80 * s + 2, 0xDDDDDD, 40 * s + 2},
      {true, 270 * s - 38, 40 * s, 76, -12, 270 * s - 39, 40 * s + 1, 78, -15, 0xDDDDDD, 270 * s + 39, 40 * s + 1, -15, 0x444444, 77},
      {true, 115 * s, 150 * s, 90 * s, 20 * s, 115 * s - 1, 150 * s - 1, 90 * s + 2, 20 * s + 2, 0x444444, 205 * s + 1, 150 * s - 1, 20 * s + 2, 0xDDDDDD, 90 * s + 2},
      {true, 160 * s, 175 * s, 45 * s, 24 * s, 160 * s - 1, 175 * s - 1, 45 * s + 2, 24 * s + 2, 0x444444, 205 * s + 1, 175 * s - 1, 24 * s + 2, 0xDDDDDD, 45 * s + 2},
      {true, 115 * s, 175 * s, 40 * s, 40 * s, 115 * s - 1, 175 * s - 1, 40 * s + 2, 40 * s + 2, 0x444444, 155 * s + 1, 175 * s - 1, 40 * s + 2, 0xDDDDDD, 40 * s + 2},
  };
  int index = 0;
  for (const Window& w : windows) {
    if (w.Filled) p.LineStep(F(w.FX), F(w.FY), F(w.FW), F(w.FH), vbBlack, LineBox::BF);
    p.LineStep(F(w.OX), F(w.OY), F(w.OW), F(w.OH), w.OC, LineBox::B);
    p.LineStep(F(w.EX), F(w.EY), 0, F(w.EL), w.EC);
    p.LineToStep(F(-w.Far), 0, w.EC);
    if (index == 0) {
      p.SetForeColor(vbWhite);
      PrintAt(p, 430 * s, 90 * s, "高度");
    }
    ++index;
  }

  // Fuel scale (window h) and flap scale (window j).
  p.SetDrawWidth(1);
  p.SetForeColor(vbWhite);
  for (int i = 0; i <= 10; ++i) {
    const double len = i % 5 == 0 ? 5 : 2;
    p.LineStep(F(160 * s - 40 + 8 * i), F(162 * s), 0, F(-len * s));
  }
  p.SetFontSize(7 * s * fontScale);
  PrintAt(p, 160 * s - 42, 150 * s, "E");
  PrintAt(p, 160 * s - 6, 150 * s, "1/2");
  PrintAt(p, 160 * s + 38, 150 * s, "F");
  for (int i = 0; i <= 4; ++i) {
    const double c = 0.2 * i;
    const double len = i % 2 == 0 ? 7 : 3;
    p.Line(CLng(153 * s - 35 * s * std::cos(c)), CLng(190 * s + 35 * s * std::sin(c)),
           CLng(153 * s - (35 - len) * s * std::cos(c)), CLng(190 * s + (35 - len) * s * std::sin(c)));
  }
  PrintAt(p, 118 * s, 175 * s, "Flap");
  PrintAt(p, 125 * s, 185 * s, "UP");
  PrintAt(p, 127 * s, 195 * s, "1/2");
  PrintAt(p, 135 * s, 203 * s, "DN");

  p.PSet(0, 0, vbBlack);
}

void DrawPanelMask(Surface& p, double s) {
  p.ClearPicture();
  p.SetBackColor(vbWhite);
  p.SetFillStyle(vbFSSolid);
  p.SetFillColor(vbBlack);
  p.Resize(CLng(540 * s), CLng(220 * s));
  p.Cls();
  p.SetDrawWidth(1);
  p.SetForeColor(vbBlack);
  FillPoly(p, {Pt(30 * s, 115 * s), Pt(510 * s, 115 * s), Pt(510 * s, 132 * s), Pt(30 * s, 132 * s)});
  FillPoly(p, {Pt(20 * s, 132 * s), Pt(520 * s, 132 * s), Pt(541 * s, 240 * s), Pt(-s, 240 * s)});
  p.Circle(F(41 * s), F(132 * s), F(20 * s - 1), vbBlack);
  p.Circle(F(498 * s), F(132 * s), F(20 * s - 1), vbBlack);
  p.SetDrawWidth(3);
  for (int32_t x = CLng(30 * s); x <= CLng(510 * s); ++x)
    p.Line(x, F(115 * s + RimOffset(x, s) + 2), x, F(240 * s), vbBlack);
}

void DrawChartPaper(Surface& p, int which) {
  p.ClearPicture();
  p.SetBackColor(vbWhite);
  p.Resize(73, 430);
  p.Cls();
  p.SetFontName("ＭＳ ゴシック");
  p.SetFontSize(9);
  p.SetForeColor(vbBlack);
  p.SetDrawWidth(1);
  if (which == 2) p.SetFillStyle(vbFSTransparent);
  const int shift = which == 2 ? 8 : 0;
  auto dots = [&](int x, int y0, int y1, int step) {
    for (int y = y0; y <= y1; y += step) p.PSet(x, y, vbBlack);
  };
  if (which == 1) {
    for (int x : {1, 25, 49, 73}) {
      dots(x, 2, 88, 2);
      dots(x, 112, 208, 2);
      dots(x, 232, 432, 2);
    }
  } else {
    for (int x : {9, 25, 41, 57, 73}) {
      dots(x, 2, 88, 2);
      dots(x, 112, 208, 2);
      dots(x, 230, 430, 2);
    }
  }
  const int left = 1 + shift;
  p.Line(left, 0, left, 90);
  p.Line(left, 110, left, 210);
  p.Line(left, 230, left, 430);
  p.Line(left, 30, 265, 30);
  p.Line(left, 90, 265, 90);
  const int fine = 5 + shift, finer = 3 + shift;
  for (int x = fine; x <= 73; x += 4) dots(x, 0, 90, 6);
  for (int x = finer; x <= 73; x += 2) p.PSet(x, 60, vbBlack);
  for (int y = 210; y >= 110; y -= 20) p.Line(left, y, 985, y);
  for (int x = fine; x <= 73; x += 4) {
    for (int y = 210; y >= 110; y -= 4) p.PSet(x, y, vbBlack);
  }
  for (int y = 410; y >= 250; y -= 40) p.Line(left, y, 985, y);
  for (int x = fine; x <= 73; x += 4) dots(x, 230, 430, 4);
  for (int x = finer; x <= 73; x += 2) dots(x, 230, 430, 20);
}

void DrawGradientProbe(Surface& p) {
  p.ClearPicture();
  p.SetFillStyle(vbFSSolid);
  p.Resize(25, 25);
  p.Cls();
  for (int r = 20; r >= 0; --r) {
    const int v = CInt(r / 20.0 * 255);
    p.SetFillColor(RGB(v, v, v));
    p.Circle(12.5, 12.5, r, RGB(v, v, v));
  }
}

void DrawSkyBackground(Surface& p, double s, bool smooth, const SkyTables& sky, bool lake) {
  p.ClearPicture();
  p.SetBackColor(vbWhite);
  p.Resize(CLng(660 * s), CLng(1400 * s));
  p.Cls();
  if (smooth) {
    for (int i = 1; i <= 45; ++i) {
      const float r = static_cast<float>(255 * std::pow(1 - i / 70.0, 3));
      const float g = static_cast<float>(255 * std::pow(1 - i / 70.0, 0.6));
      const float b = static_cast<float>(255 * std::pow(1 - i / 90.0, 0.4));
      p.Line(0, 0, 660 * s, 700 * s - 3 * std::pow(i, 1.2), RGB(CInt(r), CInt(g), CInt(b)), LineBox::BF);
    }
  } else {
    for (int i = 1; i <= 14; ++i) {
      p.Line(0, 0, 660 * s, 700 * s - 1.2 * sky.HorizonBandOffset[static_cast<std::size_t>(i - 1)],
             sky.SkyColourTable[static_cast<std::size_t>(i)], LineBox::BF);
    }
  }
  p.Line(0, 700 * s, 660 * s, 1400 * s, lake ? Color{0xBBAA22} : Color{0x888888}, LineBox::BF);
}

bool SavePanelArt(const std::string& temp, double s, double fontScale, int sizeChoice,
                  bool developerMode) {
  Surface p(1, 1, vbBlack);
  bool ok = true;
  if (developerMode) {
    DrawChartPaper(p, 1);
    ok = SaveBmp(p, JoinPath(temp, "graph1.bmp")) && ok;
    DrawChartPaper(p, 2);
    ok = SaveBmp(p, JoinPath(temp, "graph2.bmp")) && ok;
  }
  DrawPanelFace(p, s, fontScale);
  ok = SaveBmp(p, JoinPath(temp, "Panel" + Digit(sizeChoice) + ".bmp")) && ok;
  DrawPanelMask(p, s);
  ok = SaveBmp(p, JoinPath(temp, "Mask" + Digit(sizeChoice) + ".bmp")) && ok;
  return ok;
}

bool SaveGradientProbe(const std::string& temp) {
  Surface p(25, 25, vbWhite);
  DrawGradientProbe(p);
  return SaveBmp(p, JoinPath(temp, "zarv.bmp"));
}

bool SaveSkyBackgrounds(const std::string& temp, double s, int sizeChoice, double gradientLength,
                        const SkyTables& sky) {
  if (sizeChoice < 0 || sizeChoice > 2) return true;
  Surface p(1, 1, vbWhite);
  const bool smooth = gradientLength >= 1000;
  DrawSkyBackground(p, s, smooth, sky, true);
  bool ok = SaveBmp(p, JoinPath(temp, "Back" + Digit(sizeChoice) + ".bmp"));
  // Only the ground changes between the two.
  p.Line(0, 700 * s, 660 * s, 1400 * s, Color{0x888888}, LineBox::BF);
  ok = SaveBmp(p, JoinPath(temp, "CBack" + Digit(sizeChoice) + ".bmp")) && ok;
  return ok;
}

bool DrawCachedScreenArt(double s, const std::string& folder, const SkyTables& sky,
                         double gradientLength, double fontScale) {
  const int choice = SizeChoiceOf(s);
  bool ok = SaveGradientProbe(folder);
  ok = SaveSkyBackgrounds(folder, s, choice, gradientLength, sky) && ok;
  ok = SavePanelArt(folder, s, fontScale, choice, false) && ok;
  return ok;
}

}  // namespace zarv::view
