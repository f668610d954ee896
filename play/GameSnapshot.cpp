#include "play/GameSnapshot.h"

#include <cstring>

namespace pellmora {

namespace {

template <typename Game, typename Numbers, typename Objects, typename Timers>
void EachPart(Game& game, Numbers&& number, Objects&& object, Timers&& timer) {
  number(game.titlePhase);
  number(game.pausing);
  number(game.playing);
  number(game.ballDX);
  number(game.ballDY);
  number(game.baseSpeedX);
  number(game.baseSpeedY);
  number(game.ballCenterX);
  number(game.ballCenterY);
  number(game.score);
  for (auto& active : game.itemActive) number(active);
  object(game.Label1);
  object(game.Label2);
  object(game.Command1);
  object(game.Command2);
  object(game.Command3);
  object(game.Image1);
  object(game.Image2);
  object(game.Image3);
  object(game.Image4);
  object(game.Image5);
  for (auto& item : game.Image6) object(item);
  timer(game.Timer1);
  timer(game.Timer2);
  timer(game.Timer3);
  timer(game.Timer4);
}

// Little-endian, whatever the machine, so that a file reads the same anywhere.
void PutUnsigned(std::uint8_t*& at, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) *at++ = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t TakeUnsigned(const std::uint8_t*& at, int bytes) {
  std::uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value |= std::uint32_t{*at++} << (8 * i);
  return value;
}

std::uint32_t BitsOf(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

float FloatOf(std::uint32_t bits) {
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

}  // namespace

GameSnapshot GameSnapshot::Of(const Form1& game) noexcept {
  GameSnapshot snapshot;
  std::uint8_t* at = snapshot.bytes;
  EachPart(
      game, [&](int16_t n) { PutUnsigned(at, static_cast<std::uint16_t>(n), 2); },
      [&](const ScreenObject& o) {
        PutUnsigned(at, BitsOf(o.Left), 4);
        PutUnsigned(at, BitsOf(o.Top), 4);
        PutUnsigned(at, BitsOf(o.Width), 4);
        PutUnsigned(at, BitsOf(o.Height), 4);
        PutUnsigned(at, o.Visible ? 1 : 0, 1);
      },
      [&](const Timer& t) { PutUnsigned(at, t.Enabled() ? 1 : 0, 1); });
  return snapshot;
}

void GameSnapshot::RestoreInto(Form1& game) const {
  const std::uint8_t* at = bytes;
  EachPart(
      game, [&](int16_t& n) { n = static_cast<int16_t>(TakeUnsigned(at, 2)); },
      [&](ScreenObject& o) {
        o.Left = FloatOf(TakeUnsigned(at, 4));
        o.Top = FloatOf(TakeUnsigned(at, 4));
        o.Width = FloatOf(TakeUnsigned(at, 4));
        o.Height = FloatOf(TakeUnsigned(at, 4));
        o.Visible = TakeUnsigned(at, 1) != 0;
      },
      [&](Timer& t) { t.SetEnabled(TakeUnsigned(at, 1) != 0); });
}

// FNV-1a: small, fast and the same everywhere.
std::uint32_t GameSnapshot::Checksum() const noexcept {
  std::uint32_t hash = 2166136261u;
  for (const std::uint8_t byte : bytes) {
    hash ^= byte;
    hash *= 16777619u;
  }
  return hash;
}

}  // namespace pellmora
