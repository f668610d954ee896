// Design values of both windows that the game logic never changes:
// sizes, captions, fonts and colours. Places of the objects are in
// Form1Controls.cpp and Form2Controls.cpp.
#pragma once

#include <cstdint>

namespace pellmora {

namespace design {

constexpr int kForm1ClientWidth = 640;
constexpr int kForm1ClientHeight = 480;
constexpr int kForm2ClientWidth = 529;
constexpr int kForm2ClientHeight = 268;

constexpr const char* kGameName = "Pellmora";
constexpr const char* kForm2Caption = "ハイスコア ランキング";
constexpr const char* kPauseCaption = "P A U S E";
constexpr const char* kForm2CloseCaption = "閉じる";
constexpr const char* kUnitCaption = "点";
constexpr const char* kButtonTexts[3] = {"ゲームスタート", "ランキング表", "ゲーム終了"};

// The three Japanese font names of the layout.
constexpr const char* kFixedGothic = "ＭＳ ゴシック";           // fixed-pitch sans-serif
constexpr const char* kProportionalGothic = "ＭＳ Ｐゴシック";  // proportional sans-serif
constexpr const char* kMincho = "ＭＳ 明朝";                    // serif

struct FontSpec {
  const char* family;
  int pixelSize;  // em square at 96 dpi
  bool bold;
};

// The title and the pause banner.
constexpr FontSpec kTitleFont{kFixedGothic, 96, false};

constexpr uint32_t kForm1BackColor = 0x00C000;  // RGB(0, 192, 0), covered by the picture

// Ranking window, per rank r = 1..10 (index r - 1).
constexpr FontSpec kRankFont[10] = {{kFixedGothic, 48, true}, {kFixedGothic, 37, true},
                                    {kFixedGothic, 29, true}, {kFixedGothic, 16, true},
                                    {kFixedGothic, 16, true}, {kFixedGothic, 16, true},
                                    {kFixedGothic, 16, true}, {kFixedGothic, 16, true},
                                    {kFixedGothic, 16, true}, {kFixedGothic, 16, true}};
constexpr FontSpec kNameFont[10] = {
    {kMincho, 48, false}, {kMincho, 37, false}, {kMincho, 21, false}, {kMincho, 15, false},
    {kMincho, 15, false}, {kMincho, 15, false}, {kMincho, 15, false}, {kMincho, 15, false},
    {kMincho, 15, false}, {kMincho, 15, false}};
constexpr FontSpec kScoreFont[10] = {
    {kProportionalGothic, 48, false}, {kProportionalGothic, 32, false},
    {kProportionalGothic, 21, false}, {kProportionalGothic, 15, false},
    {kProportionalGothic, 15, false}, {kProportionalGothic, 15, false},
    {kProportionalGothic, 15, false}, {kProportionalGothic, 15, false},
    {kProportionalGothic, 15, false}, {kProportionalGothic, 15, false}};
constexpr uint32_t kRankBackColor[10] = {0xFFFF80, 0xE0E0E0, 0x808000, 0xC0FFFF, 0xC0FFFF,
                                         0xC0FFFF, 0xC0FFFF, 0xC0FFFF, 0xC0FFFF, 0xC0FFFF};

struct Cell {
  int left, top, width, height;
};
// Label1(i), Text1(i), Text2(i), Label2(i) of rank i + 1.
struct RankRow {
  Cell rank, name, score, unit;
};
constexpr RankRow kRankRows[10] = {
    {{8, 8, 49, 49}, {56, 8, 217, 49}, {272, 8, 137, 49}, {408, 8, 49, 49}},
    {{16, 64, 33, 41}, {48, 64, 225, 41}, {272, 64, 121, 41}, {392, 64, 41, 41}},
    {{24, 112, 33, 33}, {56, 112, 217, 33}, {272, 112, 113, 33}, {384, 112, 33, 33}},
    {{0, 160, 25, 25}, {24, 160, 105, 25}, {128, 160, 97, 25}, {224, 160, 25, 25}},
    {{0, 184, 25, 25}, {24, 184, 105, 25}, {128, 184, 97, 25}, {224, 184, 25, 25}},
    {{0, 208, 25, 25}, {24, 208, 105, 25}, {128, 208, 97, 25}, {224, 208, 25, 25}},
    {{0, 232, 25, 25}, {24, 232, 105, 25}, {128, 232, 97, 25}, {224, 232, 25, 25}},
    {{264, 160, 25, 25}, {288, 160, 105, 25}, {392, 160, 97, 25}, {488, 160, 25, 25}},
    {{264, 184, 25, 25}, {288, 184, 105, 25}, {392, 184, 97, 25}, {488, 184, 25, 25}},
    {{264, 208, 25, 25}, {288, 208, 105, 25}, {392, 208, 97, 25}, {488, 208, 25, 25}},
};
constexpr Cell kForm2CloseButton{432, 112, 81, 41};
constexpr uint32_t kForm2CloseBackColor = 0xC0FFFF;

}  // namespace design

}  // namespace pellmora
