// Placeholder entry point until the shell lands.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QLabel label(QString::fromUtf8("Zarv"));
  label.resize(320, 120);
  label.show();
  return app.exec();
}
