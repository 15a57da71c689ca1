#include "platform/ui/bmp.h"

#include <QImage>
#include <QImageReader>
#include <QString>

#include <cstdint>
#include <string>

#include "platform/runtime/files.h"
#include "platform/ui/surface_impl.h"
#include "platform/ui/surface_qt.h"

namespace zarv {

namespace {

void Put16(std::string& b, size_t at, uint32_t v) {
  b[at] = static_cast<char>(v);
  b[at + 1] = static_cast<char>(v >> 8);
}
void Put32(std::string& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + size_t(i)] = static_cast<char>(v >> (8 * i));
}

}  // namespace

bool SaveBmp(const Surface& s, const std::string& path) {
  const QImage& img = SurfaceImage(s);
  const uint32_t w = uint32_t(img.width()), h = uint32_t(img.height());
  const uint32_t rowSize = (w * 3 + 3) & ~3u;
  const uint64_t dataSize = uint64_t(rowSize) * h;
  if (dataSize + 54 > 0xFFFFFFFFull) return false;

  std::string bytes(size_t(54 + dataSize), '\0');
  bytes[0] = 'B';
  bytes[1] = 'M';
  Put32(bytes, 2, uint32_t(54 + dataSize));  // file size
  Put32(bytes, 10, 54);                      // offset of the pixels
  Put32(bytes, 14, 40);                      // BITMAPINFOHEADER
  Put32(bytes, 18, w);
  Put32(bytes, 22, h);  // positive: rows bottom-up
  Put16(bytes, 26, 1);  // planes
  Put16(bytes, 28, 24);
  Put32(bytes, 34, uint32_t(dataSize));
  for (uint32_t y = 0; y < h; ++y) {
    const uint32_t* px = reinterpret_cast<const uint32_t*>(img.constScanLine(int(h - 1 - y)));
    char* out = &bytes[54 + size_t(y) * rowSize];
    for (uint32_t x = 0; x < w; ++x) {
      out[x * 3] = static_cast<char>(px[x]);            // blue
      out[x * 3 + 1] = static_cast<char>(px[x] >> 8);   // green
      out[x * 3 + 2] = static_cast<char>(px[x] >> 16);  // red
    }
  }
  return AtomicWriteBytes(path, bytes);
}

bool LoadBmp(Surface& s, const std::string& path) {
  // The open of a FIFO would wait for a writer for ever.
  if (!FileExists(path)) return false;
  QImageReader reader(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())), "bmp");
  reader.setDecideFormatFromContent(false);
  const QSize size = reader.size();
  if (!size.isValid() || size.width() > Surface::kMaxSide || size.height() > Surface::kMaxSide ||
      int64_t{size.width()} * size.height() > Surface::kMaxPixels)
    return false;
  QImage pic = reader.read();
  if (pic.isNull()) return false;
  pic = pic.convertToFormat(QImage::Format_RGB32);
  if (pic.isNull()) return false;
  Surface::Impl& d = s.impl();
  d.End();
  d.img = std::move(pic);
  d.Changed();
  return true;
}

bool LoadPicture(Surface& box, const std::string& path, bool autoSize) {
  Surface pic;
  if (!LoadBmp(pic, path)) return false;
  box.SetPicture(pic, autoSize);
  return true;
}

}  // namespace zarv
