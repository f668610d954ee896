// What the player is told about the score file, in the game's words: one
// place for the game's start-up and saves and for a host's own import.
#pragma once

#include <string>

#include "scores/SharedHiScores.h"

namespace pellmora {

// 「HiScore.dat」
std::string QuotedScoreFile();
// What is wrong with a file that was looked at, as the end of a sentence
// that starts with the file's name.
std::string ScoreFileProblem(const ScoreFileLook& look);
std::string TooLargeProblem();
std::string UnreadableLineProblem(int line);
// A save that failed for a plain reason of the file system.
std::string SaveFailedMessage(const std::string& reason);

}  // namespace pellmora
