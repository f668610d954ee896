// What the play layer asks of a host's toolkit: the boxes, the files, the
// ranking window, the end, and the picture after each event. A host turns
// its toolkit's events into calls on PlaySession and implements this.
#pragma once

#include <string>

#include "host/FileOps.h"
#include "host/Host.h"

namespace pellmora {

class Frontend {
 public:
  // Modal message box with one OK button; returns when closed.
  virtual void MsgBox(const std::string& text, const std::string& title) = 0;
  // Modal input box; the empty text when cancelled.
  virtual std::string InputBox(const std::string& prompt, const std::string& title) = 0;
  virtual FileOps& Files() = 0;

  // The ranking window: opened on these boxes, brought to the front when
  // asked for again while open, refilled, closed.
  virtual void Form2Opened(Form2Controls& boxes) = 0;
  virtual void Form2Raised() = 0;
  virtual void Form2Changed(const Form2Controls& boxes) = 0;
  virtual void Form2Closed() = 0;

  // The program ended (the quit button, the window closed).
  virtual void ProgramEnded() = 0;
  // A handler threw: the program ends with these words.
  virtual void ProgramFailed(const char* what) = 0;
  // A handler ran to its end (the program may have ended in it): the host
  // shows what it changed.
  virtual void EventDone() = 0;

 protected:
  ~Frontend() = default;
};

}  // namespace pellmora
