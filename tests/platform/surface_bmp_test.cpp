// Bitmap files: SavePicture's 24-bit layout and LoadPicture.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/ui/bmp.h"
#include "program_test.h"

namespace zarv {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
uint32_t U32(const std::string& b, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | uint8_t(b[at + size_t(i)]);
  return v;
}
uint16_t U16(const std::string& b, size_t at) {
  return uint16_t(uint8_t(b[at]) | (uint8_t(b[at + 1]) << 8));
}

TEST(SurfaceBmp, SavesA24BitBottomUpBitmap) {
  ScratchFolder dir;
  Surface s(5, 3, vbWhite);
  s.PSet(0, 0, RGB(10, 20, 30));  // top-left
  s.PSet(4, 2, RGB(40, 50, 60));  // bottom-right
  const std::string path = dir / "cam000.bmp";
  ASSERT_TRUE(SaveBmp(s, path));
  const std::string b = ReadFile(path);
  const size_t row = 16;  // 5 x 3 bytes padded to 4
  ASSERT_EQ(b.size(), 54 + row * 3);
  EXPECT_EQ(b.substr(0, 2), "BM");
  EXPECT_EQ(U32(b, 2), b.size());
  EXPECT_EQ(U32(b, 10), 54u);
  EXPECT_EQ(U32(b, 14), 40u);
  EXPECT_EQ(U32(b, 18), 5u);
  EXPECT_EQ(U32(b, 22), 3u);
  EXPECT_EQ(U16(b, 26), 1);
  EXPECT_EQ(U16(b, 28), 24);
  EXPECT_EQ(U32(b, 30), 0u);
  // Last row of the file is the top of the image, pixels in B, G, R order.
  const size_t top = 54 + 2 * row, bottom = 54;
  EXPECT_EQ(uint8_t(b[top]), 30);
  EXPECT_EQ(uint8_t(b[top + 1]), 20);
  EXPECT_EQ(uint8_t(b[top + 2]), 10);
  EXPECT_EQ(uint8_t(b[bottom + 12]), 60);
  EXPECT_EQ(uint8_t(b[bottom + 14]), 40);
  EXPECT_EQ(uint8_t(b[bottom + 3]), 255);
  // Nothing but the bitmap is left in the folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

  // The colour-depth probe relies on a 25 x 25 picture being 1000 bytes or more.
  Surface probe(25, 25);
  ASSERT_TRUE(SaveBmp(probe, dir / "zarv.bmp"));
  EXPECT_EQ(std::filesystem::file_size(dir / "zarv.bmp"), 54u + 76u * 25u);
}

TEST(SurfaceBmp, LoadsBackWhatWasSavedAndKeepsStateOnFailure) {
  ScratchFolder dir;
  Surface s(7, 4, 0x123456);
  s.Line(0, 1, 7, 1, 0xABCDEF);
  ASSERT_TRUE(SaveBmp(s, dir / "a.bmp"));
  Surface t(2, 2);
  t.SetForeColor(0x00FF00);
  ASSERT_TRUE(LoadBmp(t, dir / "a.bmp"));
  EXPECT_EQ(t.Width(), 7);
  EXPECT_EQ(t.Height(), 4);
  EXPECT_EQ(t.Point(3, 1), 0xABCDEFu);
  EXPECT_EQ(t.Point(6, 3), 0x123456u);
  EXPECT_EQ(t.ForeColor(), 0x00FF00u);

  EXPECT_FALSE(LoadBmp(t, dir / "missing.bmp"));
  std::ofstream(dir / "junk.bmp") << "BM this is not a bitmap";
  EXPECT_FALSE(LoadBmp(t, dir / "junk.bmp"));
  // A FIFO in a cached bitmap's place: refused at once, not waited on.
  ASSERT_EQ(mkfifo((dir / "Back0.bmp").c_str(), 0600), 0);
  EXPECT_FALSE(LoadBmp(t, dir / "Back0.bmp"));
  EXPECT_EQ(t.Width(), 7);
  EXPECT_FALSE(SaveBmp(s, dir / "no-such-folder/x.bmp"));
}

TEST(SurfaceBmp, Loads8BitPalettedBitmaps) {
  ScratchFolder dir;
  // 2 x 2, 8 bits, two palette entries; bottom row index 1, top row index 0.
  std::string b(54 + 8 + 8, '\0');
  auto put32 = [&b](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = char(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, uint32_t(b.size()));
  put32(10, 62);
  put32(14, 40);
  put32(18, 2);
  put32(22, 2);
  b[26] = 1;
  b[28] = 8;
  put32(46, 2);
  put32(54, 0x00FF0000);  // entry 0: red (B G R 0 in memory)
  put32(58, 0x000000FF);  // entry 1: blue
  b[62] = 1;
  b[63] = 1;
  b[66] = 0;
  b[67] = 0;
  std::ofstream(dir / "p.bmp", std::ios::binary) << b;
  Surface s;
  ASSERT_TRUE(LoadBmp(s, dir / "p.bmp"));
  EXPECT_EQ(s.Point(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(s.Point(1, 1), RGB(0, 0, 255));
}

TEST(SurfaceBmp, LoadPictureBecomesTheBackground) {
  ScratchFolder dir;
  Surface pic(30, 50, 0x0000FF);
  ASSERT_TRUE(SaveBmp(pic, dir / "Back0.bmp"));
  Surface box(10, 10, vbBlack);
  ASSERT_TRUE(LoadPicture(box, dir / "Back0.bmp", true));
  EXPECT_EQ(box.Height(), 50);
  box.PSet(5, 5, vbWhite);
  box.Cls();
  EXPECT_EQ(box.Point(5, 5), 0x0000FFu);
  EXPECT_FALSE(LoadPicture(box, dir / "none.bmp"));
}

}  // namespace
}  // namespace zarv
