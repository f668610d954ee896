#include "web/RankingWindow.h"

#include <cstdlib>
#include <string>

#include "host/Design.h"
#include "web/Page.h"
#include "web/WebFonts.h"

namespace pellmora {

namespace {

// The cell kinds the page knows: rank label, name box, score box, unit label.
enum CellKind : int { kRank = 0, kName = 1, kScore = 2, kUnit = 3 };

void AddCell(CellKind kind, int row, const design::Cell& cell, const design::FontSpec& font,
             std::uint32_t back, const std::string& text) {
  page::AddRankingCell(kind, row, cell.left, cell.top, cell.width, cell.height,
                       CssFontFamily(font.family), font.pixelSize, font.bold, back, text);
}

}  // namespace

void OpenRankingWindow() {
  const design::Cell& close = design::kForm2CloseButton;
  page::OpenRanking(design::kForm2Caption, design::kForm2ClientWidth, design::kForm2ClientHeight,
                    design::kForm2CloseCaption, close.left, close.top, close.width, close.height,
                    design::kForm2CloseBackColor);
  for (int i = 0; i < 10; ++i) {
    const design::RankRow& row = design::kRankRows[i];
    const std::uint32_t back = design::kRankBackColor[i];
    AddCell(kRank, i, row.rank, design::kRankFont[i], back, std::to_string(i + 1));
    AddCell(kName, i, row.name, design::kNameFont[i], 0xFFFFFF, "");
    AddCell(kScore, i, row.score, design::kScoreFont[i], 0xFFFFFF, "");
    AddCell(kUnit, i, row.unit, design::kRankFont[i], back, design::kUnitCaption);
  }
}

void SyncRankingWindow(const Form2Controls& controls) {
  for (int i = 0; i < 10; ++i) {
    const TextBox* boxes[2] = {&controls.Text1[i], &controls.Text2[i]};
    for (int column = 0; column < 2; ++column) {
      const TextBox& box = *boxes[column];
      page::SetRankingBox(column, i, box.Text, box.Visible, box.Left, box.Top, box.Width,
                          box.Height);
    }
  }
}

HiScoreTable ShownTable(const Form2Controls& controls) {
  HiScoreTable table;
  for (int i = 0; i < kHiScoreListed; ++i) {
    table.hiNames[i] = controls.Text1[i].Text;
    table.hiScores[i] =
        static_cast<int16_t>(std::strtol(controls.Text2[i].Text.c_str(), nullptr, 10));
  }
  return table;
}

}  // namespace pellmora
