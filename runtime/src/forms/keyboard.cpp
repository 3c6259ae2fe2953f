#include "forms/keyboard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>
#include <charconv>
#include <vector>

#include "forms/clock.h"
#include "forms/collection.h"
#include "forms/error.h"

namespace forms {

namespace {

struct Stroke {
  int key;
  QString text;
  Qt::KeyboardModifiers modifiers;
};

int namedKey(const std::string& name) {
  static const std::pair<const char*, int> keys[] = {
      {"TAB", Qt::Key_Tab},       {"ENTER", Qt::Key_Return}, {"BACKSPACE", Qt::Key_Backspace}, {"BS", Qt::Key_Backspace},
      {"BKSP", Qt::Key_Backspace}, {"ESC", Qt::Key_Escape},  {"UP", Qt::Key_Up},               {"DOWN", Qt::Key_Down},
      {"LEFT", Qt::Key_Left},     {"RIGHT", Qt::Key_Right},  {"PGUP", Qt::Key_PageUp},         {"PGDN", Qt::Key_PageDown},
      {"HOME", Qt::Key_Home},     {"END", Qt::Key_End},      {"DEL", Qt::Key_Delete},          {"DELETE", Qt::Key_Delete},
      {"INSERT", Qt::Key_Insert}, {"INS", Qt::Key_Insert},
  };
  for (auto& [n, k] : keys)
    if (equalsNoCase(name, n)) return k;
  if (name.size() >= 2 && (name[0] == 'F' || name[0] == 'f')) {
    const int n = std::atoi(name.c_str() + 1);
    if (n >= 1 && n <= 16) return Qt::Key_F1 + (n - 1);
  }
  return 0;
}

QString textOf(int key) {
  switch (key) {
    case Qt::Key_Tab: return QStringLiteral("\t");
    case Qt::Key_Return: return QStringLiteral("\r");
    case Qt::Key_Backspace: return QStringLiteral("\b");
    case Qt::Key_Escape: return QString(QChar(27));
    default: return {};
  }
}

Stroke plainStroke(char c, Qt::KeyboardModifiers modifiers) {
  const QChar ch = QChar::fromLatin1(c);
  const int key = ch.isLetter() ? Qt::Key_A + (ch.toUpper().unicode() - 'A') : ch.unicode();
  return {key, QString(ch), modifiers};
}

// "{TAB}", "{ENTER}", "~", "+x" (Shift), "^x" (Ctrl), "%x" (Alt), "{{}" and plain text.
std::vector<Stroke> parse(const std::string& keys) {
  std::vector<Stroke> out;
  Qt::KeyboardModifiers pending;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const char c = keys[i];
    if (c == '+') { pending |= Qt::ShiftModifier; continue; }
    if (c == '^') { pending |= Qt::ControlModifier; continue; }
    if (c == '%') { pending |= Qt::AltModifier; continue; }
    if (c == '~') {
      out.push_back({Qt::Key_Return, textOf(Qt::Key_Return), pending});
    } else if (c == '{') {
      // "{}}" names the closing brace itself.
      const std::size_t close = keys.find('}', i + 2);
      if (close == std::string::npos) throw Error(err::InvalidCall, "Unmatched '{' in keys: " + keys);
      std::string name = keys.substr(i + 1, close - i - 1);
      int count = 1;
      if (auto space = name.find(' '); space != std::string::npos) {
        const std::string digits = name.substr(space + 1);
        name = name.substr(0, space);
        auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), count);
        if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size() || count < 0)
          throw Error(err::InvalidCall, "Bad repeat count in keys: " + keys);
      }
      Stroke s{0, {}, pending};
      if (name.size() == 1) {
        // "{x 3}" repeats a plain character; "{+}", "{{}" and the like type the character itself.
        s = plainStroke(name[0], pending);
      } else if (int key = namedKey(name)) {
        s.key = key;
        s.text = textOf(key);
      } else {
        throw Error(err::InvalidCall, "Unknown key '{" + name + "}' in keys: " + keys);
      }
      for (int n = 0; n < count; ++n) out.push_back(s);
      i = close;
    } else if (c == '}' || c == '(' || c == ')') {
      throw Error(err::InvalidCall, std::string("Unexpected '") + c + "' in keys: " + keys);
    } else {
      out.push_back(plainStroke(c, pending));
    }
    pending = {};
  }
  return out;
}

void deliver(const std::vector<Stroke>& strokes) {
  for (const Stroke& s : strokes) {
    QWidget* target = QApplication::focusWidget();
    if (!target) target = QApplication::activeWindow();
    if (!target) return;
    QPointer<QWidget> guard(target);
    QKeyEvent press(QEvent::KeyPress, s.key, s.modifiers, s.text);
    QCoreApplication::sendEvent(target, &press);
    if (!guard) continue;
    QKeyEvent release(QEvent::KeyRelease, s.key, s.modifiers, s.text);
    QCoreApplication::sendEvent(target, &release);
  }
}

}  // namespace

void SendKeys(const std::string& keys, bool wait) {
  std::vector<Stroke> strokes = parse(keys);
  if (wait) {
    deliver(strokes);
    return;
  }
  Clock::instance().post([strokes = std::move(strokes)] { deliver(strokes); });
}

}  // namespace forms
