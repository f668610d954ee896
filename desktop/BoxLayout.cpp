#include "desktop/BoxLayout.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

#include "desktop/ClassicEdges.h"
#include "desktop/ClassicStyle.h"
#include "desktop/Fonts.h"
#include "desktop/WidgetZoom.h"
#include "host/Design.h"

namespace pellmora {

namespace {

// The home platform's box lettering, and its measures in design pixels.
constexpr design::FontSpec kBoxFont{design::kProportionalGothic, 12, false};
constexpr int kMargin = 12;
constexpr QSize kButton(75, 23);
constexpr int kButtonGap = 4;      // between OK and キャンセル
constexpr int kTextToButton = 14;  // between a message and its OK
constexpr int kWidestText = 420;   // a longer message wraps
constexpr QSize kInputBox(360, 120);
constexpr int kInputHeight = 20;

QRect Times(const QRect& rect, int zoom) {
  return QRect(rect.topLeft() * zoom, rect.size() * zoom);
}

}  // namespace

BoxLayout::Plan BoxLayout::MessagePlan(QSize textSize, int zoom) {
  const int width = std::max(textSize.width(), kButton.width()) + 2 * kMargin;
  const int buttonsTop = kMargin + textSize.height() + kTextToButton;
  const Plan plan{QSize(width, buttonsTop + kButton.height() + kMargin),
                  QRect(QPoint(kMargin, kMargin), textSize),
                  QRect(QPoint((width - kButton.width()) / 2, buttonsTop), kButton), QRect()};
  return Plan{plan.box * zoom, Times(plan.text, zoom), Times(plan.buttons, zoom), QRect()};
}

BoxLayout::Plan BoxLayout::InputPlan(int zoom) {
  const int buttonsLeft = kInputBox.width() - kMargin - kButton.width();
  const int inputTop = kInputBox.height() - kMargin - kInputHeight;
  const QRect text(kMargin, kMargin, buttonsLeft - 2 * kMargin, inputTop - 2 * kMargin);
  const QRect buttons(buttonsLeft, kMargin, kButton.width(), 2 * kButton.height() + kButtonGap);
  const QRect input(kMargin, inputTop, kInputBox.width() - 2 * kMargin, kInputHeight);
  return Plan{kInputBox * zoom, Times(text, zoom), Times(buttons, zoom), Times(input, zoom)};
}

void BoxLayout::Arrange(QMessageBox& box, int zoom) {
  auto* text = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
  auto* buttons = box.findChild<QDialogButtonBox*>();
  if (text == nullptr || buttons == nullptr) return;
  // In design pixels, so that every place is a whole multiple of the zoom.
  // Zoomed lettering may take a little more room than the design's: the
  // room that every zoom up to 4 (and this one) needs, so that each box is
  // its zoom-1 self enlarged.
  QSize textSize;
  for (int scale = 1; scale <= std::max(zoom, 4); ++scale) {
    const QFontMetrics metrics(fonts::DesignFont(kBoxFont, scale));
    const QSize size =
        metrics.boundingRect(QRect(0, 0, kWidestText * scale, 0), Qt::TextWordWrap, text->text())
            .size();
    const auto up = [scale](int pixels) { return (pixels + scale - 1) / scale; };
    textSize = textSize.expandedTo(QSize(up(size.width()), up(size.height())));
  }
  text->setWordWrap(true);
  text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  buttons->setCenterButtons(true);
  Install(box, new BoxLayout(MessagePlan(textSize, zoom), *text, *buttons, nullptr), zoom);
}

void BoxLayout::Arrange(QInputDialog& box, int zoom) {
  // The input box makes its parts when it is first measured.
  box.adjustSize();
  auto* text = box.findChild<QLabel*>();
  auto* buttons = box.findChild<QDialogButtonBox*>();
  auto* input = box.findChild<QLineEdit*>();
  if (text == nullptr || buttons == nullptr || input == nullptr) return;
  text->setWordWrap(true);
  text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  buttons->setOrientation(Qt::Vertical);
  input->setStyle(&ClassicStyle::Instance());
  input->setFont(fonts::DesignFont(kBoxFont, zoom));
  // Qt keeps two pixels between the edge and the lettering at every zoom.
  const int margin = 2 * (zoom - 1);
  input->setTextMargins(margin, 0, margin, 0);
  Install(box, new BoxLayout(InputPlan(zoom), *text, *buttons, input), zoom);
}

void BoxLayout::Install(QDialog& box, BoxLayout* layout, int zoom) {
  widgetzoom::Set(box, zoom);
  // The classic face colour behind the parts, as around the buttons.
  QPalette window = box.palette();
  window.setColor(QPalette::Window, QColor::fromRgb(edges::kLight));
  window.setColor(QPalette::WindowText, Qt::black);
  box.setPalette(window);
  auto* buttons = qobject_cast<QDialogButtonBox*>(layout->items_[1]->widget());
  layout->items_[0]->widget()->setFont(fonts::DesignFont(kBoxFont, zoom));
  for (QAbstractButton* button : buttons->buttons()) {
    button->setStyle(&ClassicStyle::Instance());
    QPalette face = button->palette();
    face.setColor(QPalette::Button, QColor::fromRgb(edges::kLight));
    face.setColor(QPalette::ButtonText, Qt::black);
    button->setPalette(face);
    button->setFont(fonts::DesignFont(kBoxFont, zoom));
    button->setFixedSize(kButton * zoom);
  }
  if (QLayout* inner = buttons->layout()) {
    inner->setContentsMargins(0, 0, 0, 0);
    inner->setSpacing(kButtonGap * zoom);
  }
  // The box's own layout keeps its place (the box holds on to it) and
  // carries this one alone, edge to edge.
  QLayout* own = box.layout();
  while (QLayoutItem* item = own->takeAt(0)) delete item;
  own->setContentsMargins(0, 0, 0, 0);
  if (auto* grid = qobject_cast<QGridLayout*>(own)) {
    grid->addLayout(layout, 0, 0);
  } else if (auto* line = qobject_cast<QBoxLayout*>(own)) {
    line->addLayout(layout);
  }
  box.installEventFilter(layout);
}

bool BoxLayout::eventFilter(QObject* watched, QEvent* event) {
  // The message box sizes itself for its own layout as it is shown, its
  // message unwrapped; once it has, the plan holds again.
  if (event->type() == QEvent::ShowToParent && watched->isWidgetType()) {
    static_cast<QLabel*>(items_[0]->widget())->setWordWrap(true);
    static_cast<QWidget*>(watched)->setFixedSize(plan_.box);
  }
  return false;
}

BoxLayout::BoxLayout(const Plan& plan, QLabel& text, QDialogButtonBox& buttons, QLineEdit* input)
    : plan_(plan) {
  items_.append(new QWidgetItem(&text));
  items_.append(new QWidgetItem(&buttons));
  if (input != nullptr) items_.append(new QWidgetItem(input));
}

BoxLayout::~BoxLayout() {
  qDeleteAll(items_);
}

void BoxLayout::setGeometry(const QRect& rect) {
  QLayout::setGeometry(rect);
  // Fixed places from the box's top-left, edge pixels included.
  const QRect places[3] = {plan_.text, plan_.buttons, plan_.input};
  for (int i = 0; i < items_.size(); ++i) {
    items_[i]->widget()->setGeometry(places[i].translated(rect.topLeft()));
  }
}

void BoxLayout::addItem(QLayoutItem* item) {
  // Nothing joins a box once it is arranged.
  delete item;
}

QLayoutItem* BoxLayout::itemAt(int index) const {
  return index >= 0 && index < items_.size() ? items_[index] : nullptr;
}

QLayoutItem* BoxLayout::takeAt(int index) {
  return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
}

int BoxLayout::count() const {
  return static_cast<int>(items_.size());
}

}  // namespace pellmora
