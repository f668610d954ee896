#include "tools/make-cp932-table/TableSource.h"

#include <cstdio>
#include <stdexcept>

namespace pellmora {

namespace {

// Sixteen values to a line: a line of kSingle is one high nibble.
constexpr int kPerLine = 16;

std::string Hex(unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, value);
  return text;
}

// `values` as the lines of an array's initialiser, kPerLine to a line.
template <typename Values>
void AppendValues(std::string& out, const Values& values, int digits, const char* indent) {
  int column = 0;
  for (const auto value : values) {
    out += column == 0 ? indent : " ";
    out += Hex(value, digits) + ",";
    if (++column == kPerLine) {
      out += "\n";
      column = 0;
    }
  }
  if (column != 0) out += "\n";
}

}  // namespace

std::string TableSource(const Cp932Tables& tables) {
  if (tables.leads.size() >= 0xFF) throw std::runtime_error("too many lead bytes for kNoRow");
  std::string out =
      "// Code page 932 as glibc's \"WINDOWS-31J\" converts it, compiled into every build\n"
      "// so that builds on other C libraries convert the same. Written by\n"
      "// tools/make-cp932-table (target cp932-table): regenerate it, do not edit it.\n"
      "// clang-format off\n"
      "#pragma once\n"
      "\n"
      "#include <cstdint>\n"
      "\n"
      "namespace pellmora::cp932 {\n"
      "\n"
      "// Marks a byte or a pair of bytes that is no character.\n"
      "inline constexpr std::uint16_t kNoChar = " +
      Hex(kNoChar, 4) +
      ";\n"
      "// kLeadRow's value for a byte that no second byte follows.\n"
      "inline constexpr std::uint8_t kNoRow = 0xFF;\n"
      "\n"
      "// A byte alone: its code point, or kNoChar (lead bytes too).\n"
      "inline constexpr std::uint16_t kSingle[256] = {\n";
  AppendValues(out, tables.single, 4, "    ");
  out +=
      "};\n\n// A lead byte's row in kPairs, or kNoRow.\ninline constexpr std::uint8_t "
      "kLeadRow[256] = {\n";
  std::array<unsigned, 256> leadRow;
  leadRow.fill(0xFF);
  for (std::size_t row = 0; row < tables.leads.size(); ++row) {
    leadRow[tables.leads[row]] = static_cast<unsigned>(row);
  }
  AppendValues(out, leadRow, 2, "    ");

  out += "};\n\n// Second bytes outside these make no character with any lead byte.\n";
  out += "inline constexpr std::uint8_t kFirstTrail = " + Hex(tables.firstTrail, 2) + ";\n";
  out += "inline constexpr std::uint8_t kLastTrail = " + Hex(tables.lastTrail, 2) + ";\n\n";
  out += "// kPairs[kLeadRow[lead]][trail - kFirstTrail]: the pair's code point, or kNoChar.\n";
  const unsigned trails = tables.lastTrail - tables.firstTrail + 1u;
  out += "inline constexpr std::uint16_t kPairs[" + std::to_string(tables.leads.size()) + "][" +
         std::to_string(trails) + "] = {\n";
  for (std::size_t row = 0; row < tables.leads.size(); ++row) {
    out += "    {  // " + Hex(tables.leads[row], 2) + "\n";
    const auto& pairs = tables.pairs[row];
    AppendValues(out,
                 std::vector<std::uint16_t>(pairs.begin() + tables.firstTrail,
                                            pairs.begin() + tables.lastTrail + 1),
                 4, "        ");
    out += "    },\n";
  }
  out +=
      "};\n"
      "\n"
      "// The bytes glibc writes for a code point: one byte, or lead << 8 | trail.\n"
      "struct Code {\n"
      "  std::uint16_t codePoint;\n"
      "  std::uint16_t bytes;\n"
      "};\n"
      "\n"
      "// Every code point code page 932 holds, ascending.\n"
      "inline constexpr Code kCodes[" +
      std::to_string(tables.codes.size()) + "] = {\n";
  int column = 0;
  for (const auto& [codePoint, bytes] : tables.codes) {
    out += column == 0 ? "    " : " ";
    out += "{" + Hex(codePoint, 4) + ", " + Hex(bytes, 4) + "},";
    if (++column == kPerLine / 2) {
      out += "\n";
      column = 0;
    }
  }
  if (column != 0) out += "\n";
  out +=
      "};\n"
      "\n"
      "// Code points glibc takes without writing anything for them, first and last.\n"
      "struct Range {\n"
      "  char32_t first;\n"
      "  char32_t last;\n"
      "};\n"
      "\n"
      "inline constexpr Range kWrittenAsNothing[" +
      std::to_string(tables.writtenAsNothing.size()) + "] = {\n";
  for (const auto& [first, last] : tables.writtenAsNothing) {
    out += "    {" + Hex(first, 4) + ", " + Hex(last, 4) + "},\n";
  }
  out += "};\n\n}  // namespace pellmora::cp932\n";
  return out;
}

}  // namespace pellmora
