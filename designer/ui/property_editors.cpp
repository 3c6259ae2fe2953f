#include "property_editors.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QToolButton>
#include <utility>

#include "forms/error.h"
#include "forms/font.h"
#include "forms/picture.h"
#include "forms/picturebox.h"
#include "win32/win32.h"

namespace designer {

namespace {

QHBoxLayout* bareLayout(QWidget* w) {
  auto* layout = new QHBoxLayout(w);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  return layout;
}

QToolButton* button(const QString& text, const QString& tip, QWidget* parent) {
  auto* b = new QToolButton(parent);
  b->setText(text);
  b->setToolTip(tip);
  b->setAutoRaise(true);
  return b;
}

// A typed value: the text as the sheet parses it, once it differs from what was shown.
class LineEditor : public ValueEditor {
 public:
  LineEditor(const PropertyRow& row, const QString& current, QWidget* parent) : ValueEditor(parent), m_row(row), m_shown(current) {
    m_line = new QLineEdit(current, this);
    m_line->setObjectName(QStringLiteral("propertyEditor"));
    m_line->setFrame(false);
    bareLayout(this)->addWidget(m_line);
    setFocusProxy(m_line);
  }
  std::optional<forms::Variant> value() const override {
    if (m_line->text() == m_shown) return std::nullopt;
    return parseValue(m_row, m_line->text());
  }

 private:
  PropertyRow m_row;
  QString m_shown;
  QLineEdit* m_line;
};

// True/False or an enumeration's "value - name": choosing one sets it.
class ListEditor : public ValueEditor {
 public:
  ListEditor(const PropertyRow& row, const QString& current, QWidget* parent) : ValueEditor(parent), m_row(row), m_shown(current) {
    m_list = new QComboBox(this);
    m_list->setObjectName(QStringLiteral("propertyEditor"));
    if (row.editor == Editor::Boolean) {
      m_list->addItems({QStringLiteral("True"), QStringLiteral("False")});
    } else {
      for (const forms::EnumMember& m : row.enumeration->members)
        m_list->addItem(QStringLiteral("%1 - %2").arg(m.value).arg(QString::fromStdString(m.name)));
    }
    m_list->setCurrentIndex(m_list->findText(current));
    bareLayout(this)->addWidget(m_list);
    setFocusProxy(m_list);
    connect(m_list, &QComboBox::activated, this, [this] { emit done(); });
  }
  std::optional<forms::Variant> value() const override {
    if (m_list->currentIndex() < 0 || m_list->currentText() == m_shown) return std::nullopt;
    return parseValue(m_row, m_list->currentText());
  }

 private:
  PropertyRow m_row;
  QString m_shown;
  QComboBox* m_list;
};

// The system colours by name, a colour typed as #RRGGBB or a number, or one chosen in
// the colour dialog.
class ColourEditor : public ValueEditor {
 public:
  ColourEditor(const PropertyRow& row, const QString& current, QWidget* parent) : ValueEditor(parent), m_row(row), m_shown(current) {
    m_list = new QComboBox(this);
    m_list->setObjectName(QStringLiteral("propertyEditor"));
    m_list->setEditable(true);
    m_list->setInsertPolicy(QComboBox::NoInsert);
    for (const SystemColour& c : systemColours())
      m_list->addItem(swatchOf(forms::toQColor(systemColour(c.index))), QString::fromLatin1(c.name));
    m_list->setEditText(current);
    auto* more = button(QStringLiteral("…"), tr("Choose a colour"), this);
    more->setObjectName(QStringLiteral("propertyMore"));
    QHBoxLayout* layout = bareLayout(this);
    layout->addWidget(m_list, 1);
    layout->addWidget(more);
    setFocusProxy(m_list);
    connect(m_list, &QComboBox::activated, this, [this] { emit done(); });
    connect(more, &QToolButton::clicked, this, [this] {
      const forms::Variant now = parseValue(m_row, m_shown);
      QColor start = Qt::white;
      try {
        start = forms::toQColor(static_cast<uint32_t>(now.toInt32()));
      } catch (const forms::Error&) {
      }
      const QColor chosen = QColorDialog::getColor(start, this, tr("Colour"));
      if (!chosen.isValid()) return;
      m_list->setEditText(colourName(win32::RGB(static_cast<uint8_t>(chosen.red()), static_cast<uint8_t>(chosen.green()),
                                                static_cast<uint8_t>(chosen.blue()))));
      emit done();
    });
  }
  std::optional<forms::Variant> value() const override {
    if (m_list->currentText() == m_shown) return std::nullopt;
    return parseValue(m_row, m_list->currentText());
  }

 private:
  PropertyRow m_row;
  QString m_shown;
  QComboBox* m_list;
};

// A font or a picture: its text, a button for its dialog and, for a picture, one that
// clears it.
class ObjectEditor : public ValueEditor {
 public:
  ObjectEditor(const PropertyRow& row, const QString& current, const QString& folder, QWidget* parent) : ValueEditor(parent) {
    auto* shown = new QLabel(current, this);
    shown->setObjectName(QStringLiteral("propertyEditor"));
    QHBoxLayout* layout = bareLayout(this);
    layout->addWidget(shown, 1);
    auto* more = button(QStringLiteral("…"), row.editor == Editor::Font ? tr("Choose a font") : tr("Choose a picture file"), this);
    more->setObjectName(QStringLiteral("propertyMore"));
    layout->addWidget(more);
    setFocusProxy(more);
    setFocusPolicy(Qt::StrongFocus);
    if (row.editor == Editor::Picture) {
      auto* clear = button(QStringLiteral("✕"), tr("No picture"), this);
      clear->setObjectName(QStringLiteral("propertyClear"));
      layout->addWidget(clear);
      connect(clear, &QToolButton::clicked, this, [this] {
        m_value = forms::Variant(forms::ObjectPtr());
        emit done();
      });
      connect(more, &QToolButton::clicked, this, [this, folder] {
        const QString file = QFileDialog::getOpenFileName(this, tr("Picture"), folder, tr("Pictures (*.png *.jpg *.jpeg *.bmp)"));
        if (file.isEmpty()) return;
        // A file that is not a picture is the runtime's error, shown on the row.
        m_value = forms::Variant(file.toStdString());
        emit done();
      });
    } else {
      connect(more, &QToolButton::clicked, this, [this, current] {
        bool ok = false;
        QFont start(current.section(QLatin1Char(','), 0, 0));
        const QFont chosen = QFontDialog::getFont(&ok, start, this, tr("Font"));
        if (!ok) return;
        auto font = std::make_shared<forms::Font>();
        font->put_Name(chosen.family().toStdString());
        font->put_Size(static_cast<float>(chosen.pointSizeF() > 0 ? chosen.pointSizeF() : 8.25));
        font->put_Bold(chosen.bold());
        font->put_Italic(chosen.italic());
        font->put_Underline(chosen.underline());
        m_value = forms::Variant(forms::ObjectPtr(font));
        emit done();
      });
    }
  }
  // Given once: the editor's closing does not set it again.
  std::optional<forms::Variant> value() const override { return std::exchange(m_value, std::nullopt); }

 private:
  mutable std::optional<forms::Variant> m_value;
};

}  // namespace

QIcon swatchOf(const QColor& colour) {
  QPixmap p(12, 12);
  p.fill(colour);
  return QIcon(p);
}

ValueEditor* makeEditor(const PropertyRow& row, const QString& current, const QString& formFolder, QWidget* parent) {
  switch (row.editor) {
    case Editor::Boolean:
    case Editor::Enumeration: return new ListEditor(row, current, parent);
    case Editor::Colour: return new ColourEditor(row, current, parent);
    case Editor::Font:
    case Editor::Picture: return new ObjectEditor(row, current, formFolder, parent);
    case Editor::Text:
    case Editor::Number: return new LineEditor(row, current, parent);
    case Editor::ReadOnly: return nullptr;
  }
  return nullptr;
}

PropertyDelegate::PropertyDelegate(Hooks hooks, QObject* parent) : QStyledItemDelegate(parent), m_hooks(std::move(hooks)) {}

QWidget* PropertyDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const {
  if (index.column() != 1) return nullptr;
  const PropertyRow* row = m_hooks.rowAt(index);
  if (!row) return nullptr;
  ValueEditor* editor = makeEditor(*row, m_hooks.currentText(index), m_hooks.formFolder(), parent);
  if (!editor) return nullptr;
  editor->setAutoFillBackground(true);
  connect(editor, &ValueEditor::done, this, [this, editor] {
    emit const_cast<PropertyDelegate*>(this)->commitData(editor);
    emit const_cast<PropertyDelegate*>(this)->closeEditor(editor);
  });
  return editor;
}

void PropertyDelegate::setEditorData(QWidget*, const QModelIndex&) const {
  // Each editor starts from the text it was made with; a refresh of the row's text
  // while it is open leaves what the user is typing alone.
}

void PropertyDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const {
  auto* e = qobject_cast<ValueEditor*>(editor);
  const PropertyRow* row = m_hooks.rowAt(index);
  if (!e || !row) return;
  if (std::optional<forms::Variant> v = e->value()) m_hooks.apply(*row, *v);
}

void PropertyDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const {
  editor->setGeometry(option.rect);
}

}  // namespace designer
