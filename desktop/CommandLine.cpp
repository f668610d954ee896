#include "desktop/CommandLine.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include "desktop/RankingServerAddress.h"

#ifndef PELLMORA_VERSION
#error "the build gives the game's version as PELLMORA_VERSION"
#endif

namespace pellmora {

namespace commandline {

namespace {

constexpr const char* kHelp =
    "Usage: pellmora [OPTION]... [FILE]\n"
    "Guard the four edges of the field with four paddles.\n"
    "\n"
    "Options:\n"
    "  --help            print this summary of the options and exit\n"
    "  --version         print the game's version and exit\n"
    "  --scale N         draw the window N times the field's 640 x 480, N a whole\n"
    "                    number from 1 up to what the screen takes\n"
    "  --fullscreen      play on the whole screen\n"
    "  --windowed        play in a window\n"
    "  --no-focus-pause  keep playing when the window loses the focus (kept for\n"
    "                    later starts)\n"
    "  --focus-pause     pause when the window loses the focus, as at first (kept\n"
    "                    for later starts)\n"
    "  --watch FILE      play the replay FILE (a .pellmora-replay file) in the game\n"
    "                    window, then show the menu; a FILE alone does the same\n"
    "  --ranking-server URL  the world ranking's address (http or https), kept\n"
    "                    for later starts; a game is sent there only when asked\n"
    "\n"
    "Ctrl+plus and Ctrl+minus zoom the window, Ctrl+0 brings it back to 640 x 480;\n"
    "F11 or Alt+Enter puts the game on the whole screen and back. The game keeps\n"
    "these for its next start; an option above goes before them for its run.\n"
    "While a replay plays, Space pauses it, the right arrow plays it four times as\n"
    "fast, and Esc stops it.\n";

Outcome Failure(const std::string& line) {
  Outcome outcome;
  outcome.startGame = false;
  outcome.exitCode = 2;
  outcome.error = "pellmora: " + line + " (pellmora --help lists the options)\n";
  return outcome;
}

}  // namespace

Outcome Parse(const std::vector<std::string>& arguments) {
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  const QCommandLineOption help(QStringList{QStringLiteral("help"), QStringLiteral("h")});
  const QCommandLineOption version(QStringLiteral("version"));
  const QCommandLineOption scale(QStringLiteral("scale"), QString(), QStringLiteral("N"));
  const QCommandLineOption fullscreen(QStringLiteral("fullscreen"));
  const QCommandLineOption windowed(QStringLiteral("windowed"));
  const QCommandLineOption noFocusPause(QStringLiteral("no-focus-pause"));
  const QCommandLineOption focusPause(QStringLiteral("focus-pause"));
  const QCommandLineOption watch(QStringLiteral("watch"), QString(), QStringLiteral("FILE"));
  const QCommandLineOption rankingServer(QStringLiteral("ranking-server"), QString(),
                                         QStringLiteral("URL"));
  parser.addOptions(
      {help, version, scale, fullscreen, windowed, noFocusPause, focusPause, watch, rankingServer});

  QStringList list{QStringLiteral("pellmora")};
  for (const std::string& argument : arguments) list << QString::fromLocal8Bit(argument.c_str());
  if (!parser.parse(list)) {
    if (!parser.unknownOptionNames().isEmpty()) {
      const QString name = parser.unknownOptionNames().constFirst();
      return Failure("unknown option '" + std::string(name.size() == 1 ? "-" : "--") +
                     name.toStdString() + "'");
    }
    // A value missing after --scale, or one given to an option without any:
    // Qt's sentence, made to read as the rest of the line.
    QString text = parser.errorText();
    if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    if (!text.isEmpty()) text[0] = text[0].toLower();
    return Failure(text.toStdString());
  }
  // One replay file at most, given alone (as the desktop opens one) or
  // after --watch.
  const QStringList files = parser.positionalArguments();
  if (files.size() > 1 || (files.size() == 1 && parser.isSet(watch))) {
    return Failure("unexpected argument '" + files.constLast().toStdString() +
                   "': one replay file at most");
  }
  if (parser.values(watch).size() > 1) return Failure("--watch takes one replay file");

  Outcome outcome;
  if (parser.isSet(help) || parser.isSet(version)) {
    outcome.startGame = false;
    outcome.output = parser.isSet(help) ? kHelp : "Pellmora " PELLMORA_VERSION "\n";
    return outcome;
  }
  if (parser.isSet(scale)) {
    const QString text = parser.value(scale);
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 1) {
      return Failure("--scale takes a whole number from 1 up, not '" + text.toStdString() + "'");
    }
    outcome.choices.scale = n;
  }
  if (parser.isSet(fullscreen) && parser.isSet(windowed)) {
    return Failure("--fullscreen and --windowed exclude each other");
  }
  if (parser.isSet(fullscreen)) outcome.choices.fullscreen = true;
  if (parser.isSet(windowed)) outcome.choices.fullscreen = false;
  if (parser.isSet(focusPause) && parser.isSet(noFocusPause)) {
    return Failure("--focus-pause and --no-focus-pause exclude each other");
  }
  if (parser.isSet(focusPause)) outcome.choices.focusPause = true;
  if (parser.isSet(noFocusPause)) outcome.choices.focusPause = false;
  if (parser.isSet(rankingServer)) {
    const std::string given = parser.values(rankingServer).constLast().toStdString();
    const RankingServerAddress address = CheckRankingServer(given);
    if (!address.error.empty()) {
      return Failure("--ranking-server takes an http or https URL with a host: '" + given + "' " +
                     address.error);
    }
    outcome.choices.rankingServer = address.url;
  }
  const QString file = parser.isSet(watch) ? parser.value(watch)
                                           : (files.isEmpty() ? QString() : files.constFirst());
  if (parser.isSet(watch) && file.isEmpty()) return Failure("--watch takes a file name, not ''");
  // The name as it was given, byte for byte: a file name need not be text.
  for (const std::string& argument : arguments) {
    const std::string given = argument.rfind("--watch=", 0) == 0 ? argument.substr(8) : argument;
    if (!given.empty() && QString::fromLocal8Bit(given.c_str()) == file) {
      outcome.watch = given;
      break;
    }
  }
  if (outcome.watch.empty()) outcome.watch = file.toLocal8Bit().toStdString();
  return outcome;
}

std::string ReplayFileFrom(const std::string& file, const char* startDir) {
  if (file.empty() || file.front() == '/' || startDir == nullptr || startDir[0] != '/') {
    return file;
  }
  std::string path = startDir;
  if (path.back() != '/') path += '/';
  return path + file;
}

Preferences ForThisRun(Preferences stored, const Choices& choices) {
  if (choices.scale) stored.scale = *choices.scale;
  if (choices.fullscreen) stored.fullscreen = *choices.fullscreen;
  if (choices.focusPause) stored.focusPause = *choices.focusPause;
  if (choices.rankingServer) stored.rankingServer = *choices.rankingServer;
  return stored;
}

Preferences ToRemember(Preferences stored, const Choices& choices) {
  if (choices.focusPause) stored.focusPause = *choices.focusPause;
  if (choices.rankingServer) stored.rankingServer = *choices.rankingServer;
  return stored;
}

}  // namespace commandline

}  // namespace pellmora
