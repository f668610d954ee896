// The game window: its objects and timers, its variables, and every handler
// and procedure of the game. It sees the world only through the Host.
#pragma once

#include "game/GameState.h"
#include "host/Form1Controls.h"
#include "host/Host.h"
#include "scores/ScoreFile.h"
#include "scores/SharedHiScores.h"

namespace pellmora {

// The item kinds; k is also the index into Image6 and itemActive.
enum ItemKind : int {
  Reset = 0,
  SpeedUpBoth = 1,
  SpeedUpX = 2,
  SpeedUpY = 3,
  LongHorizontal = 4,
  LongVertical = 5,
};

// The paddles' lengths at a game start, which the RESET item brings back.
constexpr int16_t kStartPaddleHeight = 120;  // left and right
constexpr int16_t kStartPaddleWidth = 156;   // top and bottom

class Form1 : public Form1Controls, public GameState {
 public:
  explicit Form1(Host& host) : host_(host) {}

  // Events
  void Form_Load();
  void Form_KeyDown(int keyCode);
  void Timer1_Timer();    // title animation
  void Timer2_Timer();    // game tick
  void Timer3_Timer();    // pause banner slide
  void Timer4_Timer();    // item spawning
  void Command1_Click();  // start
  void Command2_Click();  // ranking window
  void Command3_Click();  // quit

  // Procedures
  void AddHitScore();
  void EndGame();
  void PaddleKeys();
  void ItemStep();
  void LoadHiScores();
  void SaveHiScores();
  void RecordHiScore();

  // The score file as this copy of the game shares it with others.
  SharedHiScores scoreFile;

 private:
  void GuardRight();
  void GuardTop();
  void GuardBottom();
  void GuardLeft();
  void ApplyItem(int k);
  void RefreshHiScores();

  Host& host_;
};

// The ranking window's close button.
void Form2_Command1_Click(Host& host);

}  // namespace pellmora
