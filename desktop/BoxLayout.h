// The message box and the input box laid out as the home platform lays them
// out, in design pixels times the game window's zoom: the message above its
// OK button, centred beneath it; the prompt at the top left, OK and
// キャンセル one above the other at the right, the text box across the
// bottom.
#pragma once

#include <QLayout>
#include <QRect>
#include <QSize>

class QDialog;
class QDialogButtonBox;
class QInputDialog;
class QLabel;
class QLineEdit;
class QMessageBox;

namespace pellmora {

class BoxLayout final : public QLayout {
  Q_OBJECT

 public:
  // Where the parts go, in the box's own pixels.
  struct Plan {
    QSize box;
    QRect text;
    QRect buttons;
    QRect input;  // empty in a message box
  };

  // Takes the places of the box's own layout. Call before the box is shown.
  static void Arrange(QMessageBox& box, int zoom);
  static void Arrange(QInputDialog& box, int zoom);

  // The plans, for a message or prompt of `textSize` design pixels.
  static Plan MessagePlan(QSize textSize, int zoom);
  static Plan InputPlan(int zoom);

  ~BoxLayout() override;
  QSize sizeHint() const override { return plan_.box; }
  QSize minimumSize() const override { return plan_.box; }
  QSize maximumSize() const override { return plan_.box; }
  void setGeometry(const QRect& rect) override;
  void addItem(QLayoutItem* item) override;
  QLayoutItem* itemAt(int index) const override;
  QLayoutItem* takeAt(int index) override;
  int count() const override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  BoxLayout(const Plan& plan, QLabel& text, QDialogButtonBox& buttons, QLineEdit* input);
  static void Install(QDialog& box, BoxLayout* layout, int zoom);

  Plan plan_;
  QList<QLayoutItem*> items_;  // text, buttons, input
};

}  // namespace pellmora
