// Pellmora on the desktop: the game window on Qt.
#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "desktop/Fonts.h"
#include "desktop/QtHost.h"
#include "desktop/Translations.h"

using namespace pellmora;

namespace {

bool Unset(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr || *value == '\0';
}

}  // namespace

int main(int argc, char* argv[]) {
  // Without a display Qt would abort with a long plugin message; one line says
  // what to do instead.
  if (Unset("DISPLAY") && Unset("WAYLAND_DISPLAY") && Unset("QT_QPA_PLATFORM")) {
    std::fputs(
        "pellmora: no display found: start the game from a desktop session (DISPLAY is not "
        "set)\n",
        stderr);
    return 1;
  }

  QApplication app(argc, argv);
  // Lets a Wayland desktop match the window with its menu entry.
  QGuiApplication::setDesktopFileName(QStringLiteral("io.pellmora.Pellmora"));

  translations::InstallJapanese();

  fonts::InstallSubstitutes();

  QtHost host;
  host.Start();
  // The program may already have ended during start-up (a damaged score file).
  if (host.Ended()) return host.ExitCode();
  return QApplication::exec();
}
