// A frontend nobody watches, for a game re-run from its replay: boxes close
// at once (the name box cancelled), the ranking window never opens, and the
// score file is never there, so a game over asks no name and saves nothing.
#pragma once

#include "host/FileOps.h"
#include "play/Frontend.h"

namespace pellmora {

class NoFiles final : public FileOps {
 public:
  bool Exists(const std::string&) override { return false; }
  FileFacts Inspect(const std::string&) override { return {}; }
  FileResult ReadAll(const std::string&, std::string&, std::size_t) override { return Refused(); }
  FileResult CreateNew(const std::string&, unsigned, Handle&) override { return Refused(); }
  FileResult Write(Handle, std::string_view) override { return Refused(); }
  FileResult Sync(Handle) override { return Refused(); }
  FileResult Close(Handle) override { return Refused(); }
  FileResult Rename(const std::string&, const std::string&) override { return Refused(); }
  FileResult Remove(const std::string&) override { return Refused(); }
  FileResult MoveToFreeName(const std::string&, const std::string&) override { return Refused(); }
  std::vector<std::string> Leftovers(const std::string&) override { return {}; }
  FileResult SyncFolder(const std::string&) override { return Refused(); }
  FileResult LockFolder(const std::string&) override { return Refused(); }
  void UnlockFolder() override {}
  std::string CopyTag() override { return "replay"; }

 private:
  static FileResult Refused() { return FileResult{30, "a replay writes nothing"}; }
};

class QuietFrontend final : public Frontend {
 public:
  void MsgBox(const std::string&, const std::string&) override {}
  std::string InputBox(const std::string&, const std::string&) override { return {}; }
  FileOps& Files() override { return files_; }
  void Form2Opened(Form2Controls&) override {}
  void Form2Raised() override {}
  void Form2Changed(const Form2Controls&) override {}
  void Form2Closed() override {}
  void ProgramEnded() override {}
  void ProgramFailed(const char*) override {}
  void EventDone() override {}

 private:
  NoFiles files_;
};

}  // namespace pellmora
