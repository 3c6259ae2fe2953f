#include "forms/simple_controls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <qdrawutil.h>
#include <algorithm>

#include "forms/msgbox.h"
#include "forms/picturebox.h"

namespace forms {

namespace {

void setBackground(QWidget* w, uint32_t color, QPalette::ColorRole role) {
  QPalette p = w->palette();
  p.setColor(role, toQColor(color));
  w->setPalette(p);
}

template <class T>
const ClassInfo& buildInfo(const char* name, void (*members)(ClassBuilder<T>&)) {
  static const ClassInfo info = [&] {
    ClassInfo c;
    c.name = name;
    c.isControl = true;
    ClassBuilder<T> b(c);
    members(b);
    c.inherit(Control::commonClassInfo());
    return c;
  }();
  return info;
}

}  // namespace

// Text boxes.

namespace {

// Tabbing into a text box leaves its caret and selection as they were; Qt's line edits
// would select all their text.
class LineEdit : public QLineEdit {
 protected:
  void focusInEvent(QFocusEvent* event) override {
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason) return QLineEdit::focusInEvent(event);
    QFocusEvent kept(QEvent::FocusIn, Qt::OtherFocusReason);
    QLineEdit::focusInEvent(&kept);
  }
};

}  // namespace

TextBox::TextBox(const Init& init, bool multiLine) : Control(init), m_multiLine(multiLine) {
  QWidget* w;
  if (multiLine) {
    auto* edit = new QPlainTextEdit;
    edit->setTabChangesFocus(true);
    w = edit;
    QObject::connect(edit, &QPlainTextEdit::textChanged, [this] { guarded([&] { Args a; raiseEvent("Change", a); }); });
  } else {
    auto* edit = new LineEdit;
    w = edit;
    QObject::connect(edit, &QLineEdit::textChanged, [this] { guarded([&] { Args a; raiseEvent("Change", a); }); });
  }
  w->resize(100, 21);
  attachControlWidget(w, m_multiLine ? win32::runtime::WheelRole::Native : win32::runtime::WheelRole::PassToParent);
}

const ClassInfo& TextBox::classInfo() const {
  return buildInfo<TextBox>("TextBox", [](ClassBuilder<TextBox>& b) {
    b.property("Text", &TextBox::get_Text, &TextBox::put_Text);
    b.getter("MultiLine", &TextBox::get_MultiLine);
    b.property("BackColor", &TextBox::get_BackColor, &TextBox::put_BackColor).type.kind = TypeKind::Color;
  });
}

std::string TextBox::get_Text() const {
  if (m_multiLine) return static_cast<QPlainTextEdit&>(liveWidget()).toPlainText().toStdString();
  return static_cast<QLineEdit&>(liveWidget()).text().toStdString();
}

void TextBox::put_Text(std::string text) {
  if (m_multiLine) static_cast<QPlainTextEdit&>(liveWidget()).setPlainText(QString::fromStdString(text));
  else static_cast<QLineEdit&>(liveWidget()).setText(QString::fromStdString(text));
}

void TextBox::put_BackColor(int32_t color) {
  setBackground(&liveWidget(), static_cast<uint32_t>(color), QPalette::Base);
  m_backColor = static_cast<uint32_t>(color);
}

// Labels.

Label::Label(const Init& init) : Control(init) {
  auto* l = new QLabel;
  l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  l->setWordWrap(true);
  l->resize(100, 17);
  attachControlWidget(l, win32::runtime::WheelRole::PassToParent);
}

const ClassInfo& Label::classInfo() const {
  return buildInfo<Label>("Label", [](ClassBuilder<Label>& b) {
    b.property("Caption", &Label::get_Caption, &Label::put_Caption);
    b.property("BackColor", &Label::get_BackColor, &Label::put_BackColor).type.kind = TypeKind::Color;
  });
}

std::string Label::get_Caption() const { return static_cast<QLabel&>(liveWidget()).text().toStdString(); }
void Label::put_Caption(std::string caption) { static_cast<QLabel&>(liveWidget()).setText(QString::fromStdString(caption)); }

void Label::put_BackColor(int32_t color) {
  QWidget& w = liveWidget();
  m_backColor = static_cast<uint32_t>(color);
  w.setAutoFillBackground(true);
  setBackground(&w, m_backColor, QPalette::Window);
}

// Frames.

namespace {

// A frame's etched line runs through the middle of its caption, which sits in a gap in
// the line. Qt's group boxes put the caption above the line, on the first row of what
// the frame holds.
class FrameBox : public QGroupBox {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QFontMetrics metrics = fontMetrics();
    const int lineTop = metrics.height() / 2;
    const QString caption = title();
    QRect text;
    if (!caption.isEmpty()) {
      text = QRect(QPoint(kCaptionLeft, 0), metrics.size(Qt::TextShowMnemonic, caption));
      painter.setClipRegion(QRegion(rect()) - text.adjusted(-kCaptionGap, 0, kCaptionGap, 0));
    }
    qDrawShadeRect(&painter, QRect(0, lineTop, width(), height() - lineTop), palette(), true);
    if (caption.isEmpty()) return;
    painter.setClipping(false);
    style()->drawItemText(&painter, text, Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, palette(), isEnabled(), caption,
                          QPalette::WindowText);
  }

 private:
  static constexpr int kCaptionLeft = 8;
  static constexpr int kCaptionGap = 2;
};

}  // namespace

Frame::Frame(const Init& init) : Control(init) {
  auto* g = new FrameBox;
  g->resize(160, 120);
  attachControlWidget(g, win32::runtime::WheelRole::PassToParent);
}

QWidget* Frame::clientWidget() const { return widget(); }

const ClassInfo& Frame::classInfo() const {
  return buildInfo<Frame>("Frame", [](ClassBuilder<Frame>& b) { b.property("Caption", &Frame::get_Caption, &Frame::put_Caption); });
}

std::string Frame::get_Caption() const { return static_cast<QGroupBox&>(liveWidget()).title().toStdString(); }
void Frame::put_Caption(std::string caption) { static_cast<QGroupBox&>(liveWidget()).setTitle(QString::fromStdString(caption)); }

// Option buttons, check boxes and command buttons.

namespace {

// A check box or option button is a button over its whole rectangle, not only over
// the box and the caption as in Qt.
template <class Base>
class WholeButton : public Base {
 protected:
  bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
};

// Option buttons of one container are one group: the widgets sharing its client widget.
// Qt's auto-exclusive radio buttons would take in those of nested containers as well.
class OptionWidget : public WholeButton<QRadioButton> {
 public:
  OptionWidget() {
    setAutoExclusive(false);
    connect(this, &QAbstractButton::toggled, this, [this](bool on) {
      if (!on) return;
      for (OptionWidget* other : group())
        if (other != this) other->setChecked(false);
    });
  }

  std::vector<OptionWidget*> group() const {
    std::vector<OptionWidget*> out;
    if (QWidget* parent = parentWidget())
      for (QObject* child : parent->children())
        if (auto* option = dynamic_cast<OptionWidget*>(child)) out.push_back(option);
    return out;
  }

 protected:
  // Clicking the checked button of a group leaves it checked.
  void nextCheckState() override { setChecked(true); }
};

}  // namespace

ButtonControl::ButtonControl(const Init& init, Kind kind) : Control(init), m_kind(kind) {
  QAbstractButton* b = nullptr;
  switch (kind) {
    case Kind::Option: b = new OptionWidget; break;
    case Kind::Check: b = new WholeButton<QCheckBox>; break;
    case Kind::Command: b = new QPushButton; break;
  }
  b->resize(kind == Kind::Command ? 80 : 120, kind == Kind::Command ? 25 : 17);
  b->setFocusPolicy(Qt::StrongFocus);
  QObject::connect(b, &QAbstractButton::clicked, [this] { guarded([&] { click(); }); });
  attachControlWidget(b, win32::runtime::WheelRole::PassToParent);
}

bool ButtonControl::groupedWith(const Control& other) const {
  auto* option = dynamic_cast<OptionWidget*>(widget());
  if (!option || !other.widget()) return false;
  const std::vector<OptionWidget*> group = option->group();
  return std::any_of(group.begin(), group.end(), [&](const OptionWidget* o) { return o == other.widget(); });
}

void ButtonControl::select() {
  if (m_kind == Kind::Option) static_cast<QAbstractButton&>(liveWidget()).click();
}

const ClassInfo& ButtonControl::classInfo() const {
  return buildInfo<ButtonControl>("Button", [](ClassBuilder<ButtonControl>& b) {
    b.property("Caption", &ButtonControl::get_Caption, &ButtonControl::put_Caption);
    b.property("Value", &ButtonControl::get_Value, &ButtonControl::put_Value);
  });
}

std::string ButtonControl::get_Caption() const { return static_cast<QAbstractButton&>(liveWidget()).text().toStdString(); }
void ButtonControl::put_Caption(std::string caption) {
  static_cast<QAbstractButton&>(liveWidget()).setText(QString::fromStdString(caption));
}

Variant ButtonControl::get_Value() const {
  auto* b = static_cast<QAbstractButton*>(&liveWidget());
  switch (m_kind) {
    case Kind::Check: {
      const auto state = static_cast<QCheckBox*>(b)->checkState();
      return Variant(int16_t(state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0));
    }
    case Kind::Option: return Variant(b->isChecked());
    case Kind::Command: return Variant(false);
  }
  return {};
}

void ButtonControl::put_Value(Variant value) {
  auto* b = static_cast<QAbstractButton*>(&liveWidget());
  switch (m_kind) {
    case Kind::Check: {
      const int16_t v = value.toInt16();
      if (v < 0 || v > 2) throw Error(err::InvalidPropertyValue);
      static_cast<QCheckBox*>(b)->setCheckState(v == 1 ? Qt::Checked : v == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
      break;
    }
    case Kind::Option: b->setChecked(value.toBool()); break;
    case Kind::Command:
      if (value.toBool()) click();
      break;
  }
}

}  // namespace forms
