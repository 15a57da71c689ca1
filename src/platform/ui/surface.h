// A drawing surface with the picture-box drawing methods of the forms
// runtime: the persistent ("AutoRedraw") image of a picture box or form,
// its drawing state and its Line/PSet/Circle/Print methods.
//
// Coordinates are pixels (origin top left, y downwards). Real coordinates
// are rounded to whole pixels, halves to even; anything huge or NaN is
// clipped or clamped, never undefined. Drawing outside the image is clipped.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/ui/colors.h"

namespace zarv {

// The B and BF forms of Line.
enum class LineBox { None, B, BF };

// FillStyle values used by the program (the hatch styles 2..7 are drawn as
// transparent).
inline constexpr int vbFSSolid = 0;
inline constexpr int vbFSTransparent = 1;

class Surface {
 public:
  // A surface of width x height pixels cleared to back. Sizes below 1 are
  // taken as 1, sides above kMaxSide as kMaxSide, and the height is cut so
  // that the image has at most kMaxPixels pixels.
  explicit Surface(int width = 1, int height = 1, Color back = vbWhite);
  ~Surface();
  // A moved-from surface may only be assigned to or destroyed.
  Surface(Surface&&) noexcept;
  Surface& operator=(Surface&&) noexcept;
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  static constexpr int kMaxSide = 65536;
  static constexpr int64_t kMaxPixels = int64_t{1} << 27;

  int Width() const;
  int Height() const;
  // Changes the size; the content stays at the top left, new area gets
  // BackColor (and the picture, where it reaches).
  void Resize(int width, int height);

  // ---- drawing state (defaults as a new picture box) ----
  Color ForeColor() const;  // default black
  void SetForeColor(Color c);
  Color BackColor() const;  // default the constructor's back colour
  // As in the runtime, setting BackColor erases the drawing (like Cls, but
  // CurrentX/CurrentY stay); a picture set with SetPicture stays.
  void SetBackColor(Color c);
  Color FillColor() const;  // default black
  void SetFillColor(Color c);
  int FillStyle() const;  // 0 solid, 1 transparent (default)
  void SetFillStyle(int style);
  int DrawWidth() const;  // pen width in pixels, default 1 (kept in 1..32767)
  void SetDrawWidth(int width);
  double CurrentX() const;
  double CurrentY() const;
  void SetCurrentX(double x);
  void SetCurrentY(double y);

  // Font. Names are the runtime's ("ＭＳ ゴシック", "ＭＳ Ｐゴシック", ...),
  // mapped to installed faces by FontFamilyFor (fonts.h). Size in points at
  // 96 dpi. Default "ＭＳ Ｐゴシック" 9 pt, regular, transparent.
  const std::string& FontName() const;
  void SetFontName(const std::string& name);
  double FontSize() const;
  void SetFontSize(double points);
  bool FontBold() const;
  void SetFontBold(bool on);
  bool FontItalic() const;
  void SetFontItalic(bool on);
  // False: text is drawn on a box of BackColor.
  bool FontTransparent() const;
  void SetFontTransparent(bool on);

  // ---- background picture (the Picture property) ----
  // Sets the picture: the image is erased to BackColor and the picture drawn
  // at (0, 0); Cls and SetBackColor draw it again. With autoSize the surface
  // first takes the picture's size.
  void SetPicture(const Surface& picture, bool autoSize = false);
  void ClearPicture();
  bool HasPicture() const;

  // ---- drawing methods ----
  // Fills the image with BackColor (and the picture); CurrentX = CurrentY = 0.
  void Cls();

  // Line (x1, y1)-(x2, y2), [color], [B | BF]. Without colour the ForeColor.
  // A plain line of width 1 leaves out its last pixel, as the runtime does;
  // B draws the box outline (its inside filled per FillStyle/FillColor),
  // BF a box filled with the line colour. CurrentX/Y end at (x2, y2).
  void Line(double x1, double y1, double x2, double y2,
            std::optional<Color> color = std::nullopt, LineBox box = LineBox::None);
  // Line (x1, y1)-Step(dx, dy): the second point relative to the first.
  void LineStep(double x1, double y1, double dx, double dy,
                std::optional<Color> color = std::nullopt, LineBox box = LineBox::None);
  // Line -(x2, y2): from (CurrentX, CurrentY).
  void LineTo(double x2, double y2,
              std::optional<Color> color = std::nullopt, LineBox box = LineBox::None);
  // Line -Step(dx, dy): from (CurrentX, CurrentY) by a step.
  void LineToStep(double dx, double dy,
                  std::optional<Color> color = std::nullopt, LineBox box = LineBox::None);

  // PSet (x, y), [color]: one pixel, or a round dot of DrawWidth pixels.
  // CurrentX/Y move to (x, y).
  void PSet(double x, double y, std::optional<Color> color = std::nullopt);
  // The colour of a pixel, kNoColor outside the image.
  Color Point(double x, double y) const;

  // Circle (x, y), r, [color], [start], [end], [aspect]. The outline in
  // color (default ForeColor) with DrawWidth; a full circle or a pie is
  // filled per FillStyle/FillColor. Angles are radians counter-clockwise
  // from the positive x axis; a negative angle also draws the radius to it
  // (both negative: a pie). Aspect = height/width: below 1 r is the
  // horizontal radius, above 1 the vertical one. CurrentX/Y move to the centre.
  void Circle(double x, double y, double r, std::optional<Color> color = std::nullopt,
              std::optional<double> start = std::nullopt,
              std::optional<double> end = std::nullopt, double aspect = 1.0);

  // Print text; (with the semicolon): the text's top-left corner at
  // (CurrentX, CurrentY), in ForeColor and the current font; CurrentX
  // advances by TextWidth(text). A line break ("\r\n" or "\n") inside the
  // text starts a new line at x = 0.
  void Print(const std::string& text);
  // Print text (without ';'): as Print, then CurrentX = 0 and CurrentY moves
  // down one line.
  void PrintLine(const std::string& text = std::string());
  // Size of text in the current font, in pixels (line height x lines).
  double TextWidth(const std::string& text) const;
  double TextHeight(const std::string& text) const;

  // ---- change notification (for the widget showing the image) ----
  // Called after every change of the image (drawing, Cls, resize, blits).
  void SetChangedCallback(std::function<void()> callback);
  // Counts the changes of the image.
  uint64_t ChangeCount() const;

  struct Impl;
  Impl& impl() { return *impl_; }
  const Impl& impl() const { return *impl_; }

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace zarv
