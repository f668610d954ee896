// Pellmora on the desktop: the game window on Qt.
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "desktop/CommandLine.h"
#include "desktop/DisplayProbe.h"
#include "desktop/Fonts.h"
#include "desktop/Preferences.h"
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
  // Read before Qt looks for a display, so that --help and --version answer
  // anywhere.
  const commandline::Outcome command =
      commandline::Parse(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
  // The launcher asks first whether the options start a game at all, so that
  // --help, --version and a bad option need no score folder: status 0 when
  // they do, 1 when they do not, and nothing printed.
  if (!Unset("PELLMORA_ONLY_READ_OPTIONS")) return command.startGame ? 0 : 1;
  if (!command.startGame) {
    std::fputs(command.output.c_str(), stdout);
    std::fputs(command.error.c_str(), stderr);
    return command.exitCode;
  }

  // Without a display Qt would abort with a long plugin message; one line says
  // what to do instead.
  if (Unset("DISPLAY") && Unset("WAYLAND_DISPLAY") && Unset("QT_QPA_PLATFORM")) {
    std::fputs(
        "pellmora: no display found: start the game from a desktop session (DISPLAY is not "
        "set)\n",
        stderr);
    return 1;
  }
  // Set but dead (a display that is gone, X asked for without X): Qt would
  // abort; asked first, one line says it.
  if (const std::string problem = displayprobe::Problem(); !problem.empty()) {
    std::fputs(problem.c_str(), stderr);
    return 1;
  }

  QApplication app(argc, argv);
  // Lets a Wayland desktop match the window with its menu entry.
  QGuiApplication::setDesktopFileName(QStringLiteral("io.pellmora.Pellmora"));

  translations::InstallJapanese();

  fonts::InstallSubstitutes();

  const Preferences stored = settings::Load();
  const Preferences remembered = commandline::ToRemember(stored, command.choices);
  if (remembered.focusPause != stored.focusPause ||
      remembered.rankingServer != stored.rankingServer) {
    settings::Save(remembered);
  }

  QtHost host;
  host.SetPreferences(commandline::ForThisRun(stored, command.choices));
  // What the player changes with the keys is kept for the next start, along
  // with what the command line asked to keep.
  QObject::connect(&host, &QtHost::PreferencesChanged,
                   [](const Preferences& now) { settings::Save(now); });
  host.Start();
  // The program may already have ended during start-up (a damaged score file).
  if (host.Ended()) return host.ExitCode();
  // Game pads once the window is up: starting SDL's input takes a moment
  // that the first picture need not wait for.
  QTimer::singleShot(250, &host, [&host] { host.EnableGamepad(); });
  // A replay asked for plays once the window is up; a refused one is told
  // in a box and, for a terminal, in a line.
  QObject::connect(&host, &QtHost::WatchRefused, [](const QString& why) {
    std::fprintf(stderr, "pellmora: %s\n", why.toLocal8Bit().constData());
  });
  if (!command.watch.empty()) {
    const std::string file =
        commandline::ReplayFileFrom(command.watch, std::getenv("PELLMORA_START_DIR"));
    QTimer::singleShot(0, &host, [&host, file] { host.WatchFile(file); });
  }
  return QApplication::exec();
}
