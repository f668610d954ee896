#include "desktop/DialogLook.h"

#include <QAbstractButton>
#include <QDialog>
#include <QEvent>
#include <QIcon>
#include <QLayout>

namespace pellmora {

namespace dialoglook {

namespace {

// Desktop themes put a tick or a cross on OK and Cancel.
void TakeIconsOff(QWidget& dialog) {
  for (QAbstractButton* button : dialog.findChildren<QAbstractButton*>()) {
    if (!button->icon().isNull()) button->setIcon(QIcon());
  }
}

// Some boxes (the input box) make their buttons only as they are shown; and
// a box of one fixed size gets no maximise button from any window manager.
class AsShown final : public QObject {
 public:
  explicit AsShown(QDialog& dialog) : QObject(&dialog) { dialog.installEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // Sent once the box has laid itself out for showing, before it paints.
    if (event->type() == QEvent::ShowToParent && watched->isWidgetType()) {
      auto& dialog = *static_cast<QWidget*>(watched);
      TakeIconsOff(dialog);
      // Held at its size through every later layout pass.
      if (QLayout* layout = dialog.layout()) layout->setSizeConstraint(QLayout::SetFixedSize);
      dialog.setFixedSize(dialog.size());
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
  new AsShown(dialog);  // owned by the dialog
}

}  // namespace dialoglook

}  // namespace pellmora
