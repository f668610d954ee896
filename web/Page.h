// The page around the game: everything the web host asks of the browser,
// implemented in JavaScript (Page.cpp) by the page's script
// (page/pellmora-page.js).
// Texts are UTF-8.
#pragma once

#include <cstdint>
#include <string>

namespace pellmora::page {

// What the page reports to the game's loop, oldest first.
enum class EventKind : int {
  TimeReached = 0,    // nothing happened before the due time
  KeyDown = 1,        // a = virtual-key code, b = 1 for a repeat
  KeyUp = 2,          // a = virtual-key code
  PointerDown = 3,    // a, b = client point
  PointerUp = 4,      // a, b = client point
  FocusLost = 5,      // the page lost the focus: every key is let go
  Hidden = 6,         // the tab was hidden
  Paint = 7,          // the display is ready for a frame
  RankingClose = 8,   // the ranking window's close button
  RankingClosed = 9,  // the ranking window closed by its title bar
  Import = 10,        // a = the count of files chosen (ImportedFile)
  WatchFile = 11,     // a = malloc'd bytes of a replay (a file, a link), b = their count
  WatchRank = 12,     // a = the rank 1..10 whose game is to be watched
  ShareRank = 13,     // a = the rank 1..10 whose game is to be shared
  ShareLast = 14,     // the last game played is to be shared
  SendLast = 15,      // the last game played is to be sent to the world ranking
};

struct Event {
  EventKind kind = EventKind::TimeReached;
  std::int32_t a = 0;
  std::int32_t b = 0;
};

// Waits, handing the browser back its thread, for the next event or until
// `dueMs` on the page's clock (Now), whichever comes first.
Event WaitEvent(double dueMs);
double Now();
// Asks for a Paint event at the display's next frame.
void RequestPaint();

// The page's benchmark: whether the autopilot plays (?autopilot), and a
// note of each game tick's time (?bench).
bool AutopilotWanted();
// False only when the benchmark measures the page without recording.
bool RecordingWanted();
void NoteTick();

// A picture as straight RGBA bytes, row by row from the top-left.
void UploadPicture(int id, const std::uint8_t* rgba, int width, int height);
// A label's text and its CSS font ("96px family, ...").
void DefineLabel(int id, const std::string& text, const std::string& cssFont);
void DrawPicture(int id, float left, float top, float width, float height);
void DrawLabel(int id, float left, float top, float width, float height);
void DrawButton(int n, float left, float top, float width, float height, bool pressed);
void SetTitle(const std::string& title);
// Menu button n's name for the page's own button over it (keyboards and
// screen readers).
void NameMenuButton(int n, const std::string& name);

// The modal boxes; they return when the player has answered.
void MessageBox(const std::string& text, const std::string& title);
// False when cancelled.
bool InputBox(const std::string& prompt, const std::string& title, std::string& answer);

// The ranking window. Cells are built once per opening, from the design values.
void OpenRanking(const std::string& caption, int width, int height, const std::string& closeText,
                 int closeLeft, int closeTop, int closeWidth, int closeHeight,
                 std::uint32_t closeBack);
void AddRankingCell(int kind, int row, int left, int top, int width, int height,
                    const std::string& fontFamily, int pixelSize, bool bold,
                    std::uint32_t backColor, const std::string& text);
void SetRankingBox(int column, int row, const std::string& text, bool visible, float left,
                   float top, float width, float height);
void CloseRanking();

// The score folder in the browser's storage: fetched afresh from storage;
// taken with the lock that one tab holds at a time (and fetched afresh);
// given back once what was written is stored.
void FetchScores();
void LockScores();
void UnlockScores();

// File i of an import (a HiScore.dat alone, or an archive's files): its
// name in the score folder and its bytes.
void ImportedFile(int i, std::string& name, std::string& bytes);

// Replays: which ranks of the open ranking window have one (bit 0: the
// first), whether the last game can be shared, whether a replay plays; and
// the share box with a replay's link.
void MarkRankReplays(std::uint32_t ranks);
void LastGameShareable(bool yes);
void Watching(bool yes);
void ShareReplay(const std::string& bytes);
// The last game's replay for the world ranking, which the page sends on its
// own; empty when there is none.
void SendReplay(const std::string& bytes);

// The program has ended; `failed` when an error ended it.
void Ended(bool failed);
// Starts the page afresh (after an imported score file was stored).
void Restart();

}  // namespace pellmora::page
