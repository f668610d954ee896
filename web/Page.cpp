#include "web/Page.h"

#include <emscripten.h>

#include <cstdlib>

// The bodies below are JavaScript, which clang-format would break.
// clang-format off

// Each function hands over to the page's script, Module.pellmoraPage. The
// asynchronous ones suspend the game's stack (ASYNCIFY) until the page's
// promise settles, so that C++ sees an ordinary call that returns later.

EM_ASYNC_JS(void, pellmora_wait_event, (double due, int* out), {
  const e = await Module.pellmoraPage.nextEvent(due);
  HEAP32[out >> 2] = e.kind;
  HEAP32[(out >> 2) + 1] = e.a | 0;
  HEAP32[(out >> 2) + 2] = e.b | 0;
});

EM_JS(void, pellmora_request_paint, (), { Module.pellmoraPage.requestPaint(); });

EM_JS(int, pellmora_autopilot_wanted, (), { return Module.pellmoraPage.autopilot ? 1 : 0; });
EM_JS(int, pellmora_recording_wanted, (), { return Module.pellmoraPage.recording ? 1 : 0; });

EM_JS(void, pellmora_note_tick, (), { Module.pellmoraPage.noteTick(); });

EM_JS(void, pellmora_upload_picture, (int id, const void* rgba, int width, int height), {
  Module.pellmoraPage.uploadPicture(id, HEAPU8.slice(rgba, rgba + width * height * 4), width,
                                    height);
});

EM_JS(void, pellmora_define_label, (int id, const char* text, const char* font),
      { Module.pellmoraPage.defineLabel(id, UTF8ToString(text), UTF8ToString(font)); });

EM_JS(void, pellmora_draw_picture, (int id, float x, float y, float w, float h),
      { Module.pellmoraPage.drawPicture(id, x, y, w, h); });

EM_JS(void, pellmora_draw_label, (int id, float x, float y, float w, float h),
      { Module.pellmoraPage.drawLabel(id, x, y, w, h); });

EM_JS(void, pellmora_draw_button, (int n, float x, float y, float w, float h, int pressed),
      { Module.pellmoraPage.drawButton(n, x, y, w, h, pressed != 0); });

EM_JS(void, pellmora_set_title, (const char* title),
      { Module.pellmoraPage.setTitle(UTF8ToString(title)); });

EM_JS(void, pellmora_name_menu_button, (int n, const char* name),
      { Module.pellmoraPage.nameMenuButton(n, UTF8ToString(name)); });

EM_ASYNC_JS(void, pellmora_message_box, (const char* text, const char* title),
            { await Module.pellmoraPage.messageBox(UTF8ToString(text), UTF8ToString(title)); });

EM_ASYNC_JS(char*, pellmora_input_box, (const char* prompt, const char* title), {
  const answer = await Module.pellmoraPage.inputBox(UTF8ToString(prompt), UTF8ToString(title));
  if (answer === null) return 0;
  const size = lengthBytesUTF8(answer) + 1;
  const copy = _malloc(size);
  stringToUTF8(answer, copy, size);
  return copy;
});

EM_JS(void, pellmora_open_ranking,
      (const char* caption, int width, int height, const char* close, int closeLeft, int closeTop,
       int closeWidth, int closeHeight, unsigned closeBack),
      {
        Module.pellmoraPage.openRanking(UTF8ToString(caption), width, height, UTF8ToString(close),
                                        closeLeft, closeTop, closeWidth, closeHeight, closeBack);
      });

EM_JS(void, pellmora_add_ranking_cell,
      (int kind, int row, int left, int top, int width, int height, const char* family, int size,
       int bold, unsigned back, const char* text),
      {
        Module.pellmoraPage.addRankingCell(kind, row, left, top, width, height,
                                           UTF8ToString(family), size, bold != 0, back,
                                           UTF8ToString(text));
      });

EM_JS(void, pellmora_set_ranking_box,
      (int column, int row, const char* text, int visible, float left, float top, float width,
       float height),
      {
        Module.pellmoraPage.setRankingBox(column, row, UTF8ToString(text), visible != 0, left, top,
                                          width, height);
      });

EM_JS(void, pellmora_close_ranking, (), { Module.pellmoraPage.closeRanking(); });

EM_ASYNC_JS(void, pellmora_fetch_scores, (), { await Module.pellmoraPage.fetchScores(); });

EM_ASYNC_JS(void, pellmora_lock_scores, (), { await Module.pellmoraPage.lockScores(); });

EM_ASYNC_JS(void, pellmora_unlock_scores, (), { await Module.pellmoraPage.unlockScores(); });

EM_JS(char*, pellmora_imported_name, (int i), {
  const name = Module.pellmoraPage.importedName(i);
  const size = lengthBytesUTF8(name) + 1;
  const copy = _malloc(size);
  stringToUTF8(name, copy, size);
  return copy;
});

EM_JS(void*, pellmora_imported_bytes, (int i, int* size), {
  const bytes = Module.pellmoraPage.importedBytes(i);
  const copy = _malloc(Math.max(1, bytes.length));
  HEAPU8.set(bytes, copy);
  HEAP32[size >> 2] = bytes.length;
  return copy;
});

EM_JS(void, pellmora_mark_rank_replays, (unsigned ranks),
      { Module.pellmoraPage.markRankReplays(ranks); });

EM_JS(void, pellmora_last_game_shareable, (int yes),
      { Module.pellmoraPage.lastGameShareable(yes != 0); });

EM_JS(void, pellmora_watching, (int yes), { Module.pellmoraPage.watching(yes != 0); });

EM_JS(void, pellmora_share_replay, (const void* bytes, int size),
      { Module.pellmoraPage.shareReplay(HEAPU8.slice(bytes, bytes + size)); });

EM_JS(void, pellmora_send_replay, (const void* bytes, int size),
      { Module.pellmoraPage.sendReplay(HEAPU8.slice(bytes, bytes + size)); });

EM_JS(void, pellmora_ended, (int failed), { Module.pellmoraPage.ended(failed != 0); });

EM_JS(void, pellmora_restart, (), { Module.pellmoraPage.restart(); });

// clang-format on

namespace pellmora::page {

Event WaitEvent(double dueMs) {
  int values[3] = {};
  pellmora_wait_event(dueMs, values);
  return Event{static_cast<EventKind>(values[0]), values[1], values[2]};
}

double Now() {
  return emscripten_get_now();
}

void RequestPaint() {
  pellmora_request_paint();
}

bool AutopilotWanted() {
  return pellmora_autopilot_wanted() != 0;
}

bool RecordingWanted() {
  return pellmora_recording_wanted() != 0;
}

void NoteTick() {
  pellmora_note_tick();
}

void UploadPicture(int id, const std::uint8_t* rgba, int width, int height) {
  pellmora_upload_picture(id, rgba, width, height);
}

void DefineLabel(int id, const std::string& text, const std::string& cssFont) {
  pellmora_define_label(id, text.c_str(), cssFont.c_str());
}

void DrawPicture(int id, float left, float top, float width, float height) {
  pellmora_draw_picture(id, left, top, width, height);
}

void DrawLabel(int id, float left, float top, float width, float height) {
  pellmora_draw_label(id, left, top, width, height);
}

void DrawButton(int n, float left, float top, float width, float height, bool pressed) {
  pellmora_draw_button(n, left, top, width, height, pressed ? 1 : 0);
}

void SetTitle(const std::string& title) {
  pellmora_set_title(title.c_str());
}

void NameMenuButton(int n, const std::string& name) {
  pellmora_name_menu_button(n, name.c_str());
}

void MessageBox(const std::string& text, const std::string& title) {
  pellmora_message_box(text.c_str(), title.c_str());
}

bool InputBox(const std::string& prompt, const std::string& title, std::string& answer) {
  char* typed = pellmora_input_box(prompt.c_str(), title.c_str());
  if (typed == nullptr) return false;
  answer = typed;
  std::free(typed);
  return true;
}

void OpenRanking(const std::string& caption, int width, int height, const std::string& closeText,
                 int closeLeft, int closeTop, int closeWidth, int closeHeight,
                 std::uint32_t closeBack) {
  pellmora_open_ranking(caption.c_str(), width, height, closeText.c_str(), closeLeft, closeTop,
                        closeWidth, closeHeight, closeBack);
}

void AddRankingCell(int kind, int row, int left, int top, int width, int height,
                    const std::string& fontFamily, int pixelSize, bool bold,
                    std::uint32_t backColor, const std::string& text) {
  pellmora_add_ranking_cell(kind, row, left, top, width, height, fontFamily.c_str(), pixelSize,
                            bold ? 1 : 0, backColor, text.c_str());
}

void SetRankingBox(int column, int row, const std::string& text, bool visible, float left,
                   float top, float width, float height) {
  pellmora_set_ranking_box(column, row, text.c_str(), visible ? 1 : 0, left, top, width, height);
}

void CloseRanking() {
  pellmora_close_ranking();
}

void FetchScores() {
  pellmora_fetch_scores();
}

void LockScores() {
  pellmora_lock_scores();
}

void UnlockScores() {
  pellmora_unlock_scores();
}

void ImportedFile(int i, std::string& name, std::string& bytes) {
  char* typed = pellmora_imported_name(i);
  name = typed;
  std::free(typed);
  int size = 0;
  void* copy = pellmora_imported_bytes(i, &size);
  bytes.assign(static_cast<const char*>(copy), static_cast<std::size_t>(size));
  std::free(copy);
}

void MarkRankReplays(std::uint32_t ranks) {
  pellmora_mark_rank_replays(ranks);
}

void LastGameShareable(bool yes) {
  pellmora_last_game_shareable(yes ? 1 : 0);
}

void Watching(bool yes) {
  pellmora_watching(yes ? 1 : 0);
}

void ShareReplay(const std::string& bytes) {
  pellmora_share_replay(bytes.data(), static_cast<int>(bytes.size()));
}

void SendReplay(const std::string& bytes) {
  pellmora_send_replay(bytes.data(), static_cast<int>(bytes.size()));
}

void Ended(bool failed) {
  pellmora_ended(failed ? 1 : 0);
}

void Restart() {
  pellmora_restart();
}

}  // namespace pellmora::page
