#include "desktop/DialogLook.h"

#include <QAbstractButton>
#include <QDialog>
#include <QEvent>
#include <QIcon>

namespace pellmora {

namespace dialoglook {

namespace {

// Desktop themes put a tick or a cross on OK and Cancel.
void TakeIconsOff(QWidget& dialog) {
  for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
    if (!button->icon().isNull()) button->setIcon(QIcon());
  }
}

// Some boxes (the input box) make their buttons only as they are shown.
class IconRemover final : public QObject {
 public:
  explicit IconRemover(QDialog& dialog) : QObject(&dialog) { dialog.installEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
      TakeIconsOff(*static_cast<QWidget*>(watched));
    }
    return false;
  }
};

}  // namespace

void Apply(QDialog& dialog) {
  Qt::WindowFlags flags = dialog.windowFlags();
  flags &= ~(Qt::WindowMinMaxButtonsHint | Qt::WindowFullscreenButtonHint |
             Qt::WindowContextHelpButtonHint);
  // Without CustomizeWindowHint a window manager may add buttons of its own.
  flags |= Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
           Qt::WindowCloseButtonHint;
  dialog.setWindowFlags(flags);
  TakeIconsOff(dialog);
  new IconRemover(dialog);  // owned by the dialog
}

}  // namespace dialoglook

}  // namespace pellmora
