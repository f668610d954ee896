#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

#include "game/Form1.h"
#include "game/Int16.h"
#include "host/Design.h"

namespace pellmora {

namespace {

// A centre in whole pixels: to the nearest integer, halves to the even one
// (the default rounding mode does exactly that).
int16_t CentreOf(float start, float size) {
  return Saturate16(static_cast<int32_t>(std::nearbyint(static_cast<double>(start) + size / 2.0)));
}

// A paddle covers the ball when the centre lies strictly inside its span.
bool Covers(float paddleStart, float paddleLength, int16_t centre) {
  const float end = paddleStart + paddleLength;  // stored as single before comparing
  return paddleStart < static_cast<float>(centre) && end > static_cast<float>(centre);
}

// The caption during play: the game's name, three ideographic spaces, the
// score and its unit.
constexpr std::string_view kCaptionName = design::kGameName;
constexpr std::string_view kCaptionGap = "\u3000\u3000\u3000";
constexpr std::string_view kCaptionUnit = design::kUnitCaption;

// Appends text at out and returns the end.
char* Append(char* out, std::string_view text) {
  std::memcpy(out, text.data(), text.size());
  return out + text.size();
}

}  // namespace

// The game tick: ball, caption, the four guards, paddle keys, items. A game
// over inside a guard does not cut the tick short.
void Form1::Timer2_Timer() {
  Image5.Left = Image5.Left + ballDX;
  Image5.Top = Image5.Top + ballDY;

  // Six characters hold every 16-bit score, so the digits always fit.
  char caption[kCaptionName.size() + kCaptionGap.size() + 6 + kCaptionUnit.size()];
  char* out = Append(caption, kCaptionName);
  out = Append(out, kCaptionGap);
  out = std::to_chars(out, caption + sizeof caption - kCaptionUnit.size(), score).ptr;
  out = Append(out, kCaptionUnit);
  Caption.assign(caption, static_cast<std::size_t>(out - caption));

  GuardRight();
  GuardTop();
  GuardBottom();
  GuardLeft();
  PaddleKeys();
  ItemStep();
}

// The zone and miss lines are fixed and deliberately not symmetric: right and
// bottom zones start where the ball touches the paddle, the left and top ones
// a few pixels short of it, and the left and top miss lines sit at 1.

void Form1::GuardRight() {
  if (!(Image5.Left > 583)) return;
  ballCenterY = CentreOf(Image5.Top, Image5.Height);
  if (Covers(Image2.Top, Image2.Height, ballCenterY)) {
    if (ballDX > 0) {
      ballDX = Neg16(ballDX);
      AddHitScore();
    }
  } else if (Image5.Left >= 620) {
    EndGame();
  }
}

void Form1::GuardTop() {
  if (!(Image5.Top < 40)) return;
  ballCenterX = CentreOf(Image5.Left, Image5.Width);
  if (Covers(Image3.Left, Image3.Width, ballCenterX)) {
    if (ballDY < 0) {
      ballDY = Neg16(ballDY);
      AddHitScore();
    }
  } else if (Image5.Top <= 1) {
    EndGame();
  }
}

void Form1::GuardBottom() {
  if (!(Image5.Top > 415)) return;
  ballCenterX = CentreOf(Image5.Left, Image5.Width);
  if (Covers(Image4.Left, Image4.Width, ballCenterX)) {
    if (ballDY > 0) {
      ballDY = Neg16(ballDY);
      AddHitScore();
    }
  } else if (Image5.Top >= 460) {
    EndGame();
  }
}

void Form1::GuardLeft() {
  if (!(Image5.Left < 35)) return;
  ballCenterY = CentreOf(Image5.Top, Image5.Height);
  if (Covers(Image1.Top, Image1.Height, ballCenterY)) {
    if (ballDX < 0) {
      ballDX = Neg16(ballDX);
      AddHitScore();
    }
  } else if (Image5.Left <= 1) {
    EndGame();
  }
}

// A hit is worth the ball's present speed, |ballDX| + |ballDY|; the score
// stops at 32767 rather than overflowing.
void Form1::AddHitScore() {
  score = Add16(score, ballDX > 0 ? ballDX : -static_cast<int32_t>(ballDX));
  score = Add16(score, ballDY > 0 ? ballDY : -static_cast<int32_t>(ballDY));
}

}  // namespace pellmora
