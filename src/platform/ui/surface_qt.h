// Internal to src/platform/ui: the Qt side of Surface, for the widgets that
// show a surface and for code that needs the Qt image or font.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>

#include <string>

#include "platform/ui/surface.h"

namespace zarv {

// The persistent image (Format_RGB32). Any painting in progress is finished
// first, so the image is complete. Writing into it (or assigning another
// image of the same format) is allowed; call NotifySurfaceChanged
// afterwards. Do not keep the reference across a Resize or a LoadBmp.
QImage& SurfaceImage(Surface& s);
const QImage& SurfaceImage(const Surface& s);
void NotifySurfaceChanged(Surface& s);
// The background picture set with SetPicture/LoadPicture, or nullptr.
const QImage* SurfacePicture(const Surface& s);

// Creates a QApplication (so fonts work) when no application object exists
// yet; does nothing otherwise. The forms layer normally owns the
// application; this keeps tests and off-screen drawing working without it.
void EnsureGuiApplication();

// QFont for a runtime font name and size in points at 96 dpi: the mapped
// IPA face, pixel-sized, drawn without antialiasing (crisp, as masks need).
QFont MakeFont(const std::string& name, double points, bool bold = false, bool italic = false);

// &HBBGGRR (system colours resolved) to QColor and back.
QColor ToQColor(Color c);
Color FromQColor(const QColor& c);

}  // namespace zarv
