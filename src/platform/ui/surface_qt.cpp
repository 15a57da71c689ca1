#include "platform/ui/surface_qt.h"

#include <QApplication>
#include <QCoreApplication>
#include <QString>

#include <memory>

#include "platform/ui/fonts.h"
#include "platform/ui/surface_impl.h"

namespace zarv {

QImage& SurfaceImage(Surface& s) {
  s.impl().End();
  return s.impl().img;
}

const QImage& SurfaceImage(const Surface& s) {
  // Finishing the painter does not change the image's content.
  const_cast<Surface::Impl&>(s.impl()).End();
  return s.impl().img;
}

void NotifySurfaceChanged(Surface& s) { s.impl().Changed(); }

const QImage* SurfacePicture(const Surface& s) {
  return s.impl().picture ? &*s.impl().picture : nullptr;
}

void EnsureGuiApplication() {
  if (QCoreApplication::instance() != nullptr) return;
  // Without a display there is nothing else to draw on.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "zarv";
  static char* argv[] = {name, nullptr};
  // Never destroyed, as the forms' own: once windows have been made, the
  // toolkit cannot be taken down any more while the exit handlers run.
  new QApplication(argc, argv);
}

QFont MakeFont(const std::string& name, double points, bool bold, bool italic) {
  QFont font(QString::fromStdString(FontFamilyFor(name)));
  font.setPixelSize(FontPixelSize(points));
  font.setBold(bold);
  font.setItalic(italic);
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

QColor ToQColor(Color c) {
  c = ResolveColor(c);
  return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

Color FromQColor(const QColor& c) { return RGB(c.red(), c.green(), c.blue()); }

}  // namespace zarv
