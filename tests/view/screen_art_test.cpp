#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "platform/ui/bmp.h"
#include "view/screen_art.h"
#include "view/view_fixture.h"
#include "program_test.h"

namespace zarv::view {
namespace {

class ScreenArt : public zarv::testing::ProgramTest {};

namespace fs = std::filesystem;

struct TempFolder {
  zarv::ScratchFolder Scratch;
  fs::path Path = Scratch.path();
  Surface Load(const std::string& name) const {
    Surface s;
    EXPECT_TRUE(LoadBmp(s, (Path / name).string())) << name;
    return s;
  }
};

// The face and mask of each size: scaled alike, and where the mask lets the
// view through the face is black (the overlay ORs the face over it), but
// for specks along the rim's edge.
TEST_F(ScreenArt, PanelFaceAndMaskAtTheThreeSizes) {
  TempFolder t;
  int width1 = 0;
  for (const auto& [scale, choice] : {std::pair(1.0, 0), std::pair(1.25, 1), std::pair(1.6, 2)}) {
    ASSERT_TRUE(SavePanelArt(t.Path.string(), scale, 1.0, choice, false));
    const std::string d = std::to_string(choice);
    Surface face = t.Load("Panel" + d + ".bmp");
    Surface mask = t.Load("Mask" + d + ".bmp");
    if (choice == 0) width1 = face.Width();
    EXPECT_EQ(face.Width(), static_cast<int>(std::nearbyint(width1 * scale)));
    EXPECT_EQ(mask.Width(), face.Width());
    EXPECT_EQ(mask.Height(), face.Height());
    int black = 0, seeThrough = 0, specks = 0;
    for (int y = 0; y < face.Height(); ++y) {
      for (int x = 0; x < face.Width(); ++x) {
        black += mask.Point(x, y) == vbBlack;
        seeThrough += mask.Point(x, y) == vbWhite;
        specks += mask.Point(x, y) == vbWhite && face.Point(x, y) != vbBlack;
      }
    }
    EXPECT_GT(black, seeThrough) << scale;
    EXPECT_LT(specks, seeThrough / 100) << scale;
    // Above the arched rim: black face, white mask; the rim's top lies 2 px
    // below the picture's top in the middle. Under the panel the mask is
    // black and the face's body grey.
    const auto at = [scale](double v) { return static_cast<int>(std::nearbyint(v * scale)); };
    EXPECT_EQ(face.Point(5, 5), vbBlack) << scale;
    EXPECT_EQ(mask.Point(5, 5), vbWhite) << scale;
    EXPECT_EQ(mask.Point(at(270), 0), vbWhite) << scale;
    EXPECT_EQ(mask.Point(at(270), at(10)), vbBlack) << scale;
    EXPECT_EQ(mask.Point(at(100), at(210)), vbBlack) << scale;
    EXPECT_EQ(face.Point(at(100), at(210)), Color{0x999999}) << scale;
  }
  // Only the current size's pair; chart paper in developer mode only.
  EXPECT_FALSE(fs::exists(t.Path / "graph1.bmp"));
  ASSERT_TRUE(SavePanelArt(t.Path.string(), 1.0, 1.0, 0, true));
  EXPECT_TRUE(fs::exists(t.Path / "graph2.bmp"));
}

TEST_F(ScreenArt, SkyBackgroundsAndProbe) {
  TempFolder t;
  const SkyTables sky = testing::FixedSky();
  ASSERT_TRUE(SaveSkyBackgrounds(t.Path.string(), 1.6, 2, 2000, sky));
  Surface back = t.Load("Back2.bmp");
  Surface cback = t.Load("CBack2.bmp");
  // One sky over the lake and over the grey ground, the horizon at 1120:
  // the 45th band's colour fills the top; the lowest band ends 3 px above
  // the lake, over a strip of white.
  EXPECT_EQ(back.Point(10, 10), Color{0xC1890C});
  EXPECT_EQ(cback.Point(10, 10), Color{0xC1890C});
  EXPECT_EQ(back.Point(10, 1118), vbWhite);
  EXPECT_EQ(back.Point(10, 1500), Color{0xBBAA22});
  EXPECT_EQ(cback.Point(10, 1500), Color{0x888888});
  // Few colours: 14 bands of the fixed table reaching down to the horizon.
  ASSERT_TRUE(SaveSkyBackgrounds(t.Path.string(), 1.0, 0, 500, sky));
  Surface banded = t.Load("Back0.bmp");
  EXPECT_EQ(banded.Point(10, 699), sky.SkyColourTable[1]);
  EXPECT_EQ(banded.Point(10, 300), sky.SkyColourTable[14]);
  EXPECT_FALSE(fs::exists(t.Path / "Back1.bmp"));
  // The probe: long enough to select the smooth skies, dark at the centre.
  ASSERT_TRUE(SaveGradientProbe(t.Path.string()));
  EXPECT_GE(fs::file_size(t.Path / "zarv.bmp"), 1000u);
  EXPECT_LT(RedOf(t.Load("zarv.bmp").Point(12, 12)), 30);
}

}  // namespace
}  // namespace zarv::view
