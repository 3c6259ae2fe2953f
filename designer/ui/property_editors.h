#pragma once
// The editors the property sheet opens in a row's value cell, one kind per type: a
// list for booleans and enumerations, a line for strings and numbers, a colour's list
// and dialog, and the font and picture dialogs. Each gives the value the user chose,
// or nothing when they chose none.
#include <QIcon>
#include <QStyledItemDelegate>
#include <QWidget>
#include <functional>
#include <optional>

#include "forms/variant.h"
#include "property_rows.h"

class QComboBox;
class QLineEdit;
class QLabel;

namespace designer {

class ValueEditor : public QWidget {
  Q_OBJECT

 public:
  using QWidget::QWidget;
  // What to set; nothing when the user left the value as it was.
  virtual std::optional<forms::Variant> value() const = 0;

 signals:
  // The user chose: the sheet sets the value and closes the editor.
  void done();
};

// A small square of the colour, beside a colour's name.
QIcon swatchOf(const QColor& colour);

// Makes the editor for a row, showing its current text. The form's path is where a
// picture's file dialog starts.
ValueEditor* makeEditor(const PropertyRow& row, const QString& current, const QString& formFolder, QWidget* parent);

// Opens editors in the value column and hands what they give to `apply`.
class PropertyDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  // The row behind an index (nullptr for none, or a read-only row), its current text,
  // and what sets a value.
  struct Hooks {
    std::function<const PropertyRow*(const QModelIndex&)> rowAt;
    std::function<QString(const QModelIndex&)> currentText;
    std::function<QString()> formFolder;
    std::function<void(const PropertyRow&, const forms::Variant&)> apply;
  };
  PropertyDelegate(Hooks hooks, QObject* parent);

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
  void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  Hooks m_hooks;
};

}  // namespace designer
