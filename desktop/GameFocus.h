// Whether the keyboard focus lies with the game as a whole: in the game
// window, a box it opened, or the ranking window beside it. The focus moving
// between them is no loss; another program's window, another desktop, is.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace pellmora {

class GameFocus final : public QObject {
  Q_OBJECT

 public:
  explicit GameFocus(QWidget& gameWindow);

  // A window of no owner that counts as the game's own while it lives.
  void SetCompanion(QWidget* window) { companion_ = window; }

  bool Held() const;

 signals:
  void Lost();
  void Gained();

 private:
  void FocusWindowChanged();

  QWidget& game_;
  QPointer<QWidget> companion_;
  bool held_ = false;
};

}  // namespace pellmora
