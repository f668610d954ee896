#include "desktop/SaveWaiter.h"

#include <QDeadlineTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cerrno>
#include <thread>

#include "desktop/DialogLook.h"

namespace pellmora {

namespace {

// Another copy's save takes milliseconds: waited out without a note, on this
// thread, for no longer than a frame or two.
constexpr auto kQuietWait = std::chrono::milliseconds(30);
constexpr auto kRetryEvery = std::chrono::milliseconds(10);

}  // namespace

int SaveWaiter::Until(const std::function<bool()>& tryLock, std::chrono::milliseconds patience) {
  const QDeadlineTimer deadline(patience);
  const QDeadlineTimer quiet(kQuietWait);
  while (!quiet.hasExpired()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    if (tryLock()) return 0;
  }

  QMessageBox note(QMessageBox::NoIcon, QStringLiteral("Pellmora"),
                   QStringLiteral("ほかの Pellmora がスコアを保存し終えるのを待っています。\n"
                                  "終わりしだい、このゲームのスコアを保存します。"),
                   QMessageBox::NoButton, &window_);
  note.setTextFormat(Qt::PlainText);
  QPushButton* stop = note.addButton(QStringLiteral("待たずに続ける"), QMessageBox::RejectRole);
  note.setEscapeButton(stop);
  dialoglook::Apply(note);
  int ended = ECANCELED;  // unless the lock comes or patience runs out
  QTimer retry;
  retry.setInterval(kRetryEvery);
  QObject::connect(&retry, &QTimer::timeout, &note, [&] {
    if (tryLock()) {
      ended = 0;
      note.done(QDialog::Accepted);
    } else if (deadline.hasExpired()) {
      ended = ETIMEDOUT;
      note.done(QDialog::Rejected);
    }
  });
  retry.start();
  // Modal: the game window draws itself behind it but takes no key and no
  // close while a save is under way.
  note.exec();
  return ended;
}

}  // namespace pellmora
