#include "property_sheet.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

#include "forms/collection.h"
#include "forms/control.h"
#include "forms/error.h"
#include "forms/font.h"
#include "forms/form.h"
#include "forms/picture.h"
#include "forms/picturebox.h"
#include "property_editors.h"

namespace designer {

namespace {

constexpr int kRowRole = Qt::UserRole;
// A new control's caption or text is its own name: the prototype's says so by its name.
constexpr const char* kPrototypeName = "Default1";

QString text(const std::string& s) { return QString::fromStdString(s); }

bool isLength(const PropertyRow& row) {
  for (const char* n : {"Left", "Top", "Width", "Height"})
    if (forms::equalsNoCase(row.name, n)) return true;
  return false;
}

// A value to set again as the default: a font is copied, never shared.
forms::Variant copyOf(const forms::Variant& v) {
  if (!v.isObject()) return v;
  if (auto* font = dynamic_cast<forms::Font*>(v.toObject().get())) {
    auto copy = std::make_shared<forms::Font>();
    copy->copyFrom(*font);
    return forms::Variant(forms::ObjectPtr(copy));
  }
  return v;
}

}  // namespace

PropertySheet::PropertySheet(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("propertySheetPane"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);

  auto* bar = new QHBoxLayout;
  m_filter = new QLineEdit(this);
  m_filter->setObjectName(QStringLiteral("propertyFilter"));
  m_filter->setPlaceholderText(tr("Filter properties"));
  m_filter->setClearButtonEnabled(true);
  m_alphabetical = new QToolButton(this);
  m_alphabetical->setObjectName(QStringLiteral("propertyAlphabetical"));
  m_alphabetical->setText(tr("A–Z"));
  m_alphabetical->setToolTip(tr("By name rather than in the class's own order"));
  m_alphabetical->setCheckable(true);
  m_reset = new QToolButton(this);
  QToolButton* reset = m_reset;
  reset->setObjectName(QStringLiteral("propertyReset"));
  reset->setText(tr("Reset"));
  reset->setToolTip(tr("Reset to default"));
  bar->addWidget(m_filter, 1);
  bar->addWidget(m_alphabetical);
  bar->addWidget(reset);
  layout->addLayout(bar);

  m_tree = new QTreeWidget(this);
  m_tree->setObjectName(QStringLiteral("propertySheet"));
  m_tree->setColumnCount(2);
  m_tree->setHeaderLabels({tr("Property"), tr("Value")});
  m_tree->setRootIsDecorated(false);
  m_tree->setUniformRowHeights(true);
  m_tree->setAlternatingRowColors(true);
  m_tree->setColumnWidth(0, 130);
  m_tree->header()->setStretchLastSection(true);
  m_tree->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
  m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
  PropertyDelegate::Hooks hooks;
  hooks.rowAt = [this](const QModelIndex& index) -> const PropertyRow* {
    const QModelIndex first = index.sibling(index.row(), 0);
    const int i = first.data(kRowRole).toInt();
    if (i < 0 || i >= static_cast<int>(m_rows.size()) || m_rows[i].editor == Editor::ReadOnly) return nullptr;
    return &m_rows[i];
  };
  hooks.currentText = [this](const QModelIndex& index) {
    const int i = index.sibling(index.row(), 0).data(kRowRole).toInt();
    return i >= 0 && i < static_cast<int>(m_shown.size()) ? m_shown[i].text : QString();
  };
  hooks.formFolder = [this] { return m_document ? QFileInfo(text(m_document->entryPath())).absolutePath() : QDir::currentPath(); };
  hooks.apply = [this](const PropertyRow& row, const forms::Variant& value) { apply(row, value); };
  m_tree->setItemDelegate(new PropertyDelegate(std::move(hooks), m_tree));
  layout->addWidget(m_tree, 1);

  m_descriptionName = new QLabel(this);
  m_descriptionName->setObjectName(QStringLiteral("propertyDescriptionName"));
  QFont bold = m_descriptionName->font();
  bold.setBold(true);
  m_descriptionName->setFont(bold);
  m_descriptionText = new QLabel(this);
  m_descriptionText->setObjectName(QStringLiteral("propertyDescription"));
  m_descriptionText->setTextFormat(Qt::PlainText);
  m_descriptionText->setWordWrap(true);
  m_descriptionText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_descriptionText->setMinimumHeight(m_descriptionText->fontMetrics().lineSpacing() * 3);
  m_descriptionText->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(m_descriptionName);
  layout->addWidget(m_descriptionText);

  m_pending.setSingleShot(true);
  m_pending.setInterval(0);
  connect(&m_pending, &QTimer::timeout, this, &PropertySheet::refresh);
  connect(m_filter, &QLineEdit::textChanged, this, [this] { applyFilter(); });
  connect(m_alphabetical, &QToolButton::toggled, this, [this] { refresh(); });
  connect(reset, &QToolButton::clicked, this, [this] {
    if (QTreeWidgetItem* item = m_tree->currentItem()) resetToDefault(item->text(0));
  });
  connect(m_tree, &QTreeWidget::currentItemChanged, this, &PropertySheet::describeCurrent);
  // One click on a value opens its editor, as a sheet is used.
  connect(m_tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item, int column) {
    if (column == 1) m_tree->editItem(item, 1);
  });
  connect(m_tree, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { m_tree->editItem(item, 1); });
  connect(m_tree, &QWidget::customContextMenuRequested, this, &PropertySheet::showMenu);
  m_reset->setEnabled(false);
}

PropertySheet::~PropertySheet() = default;

void PropertySheet::setDocument(Document* document) {
  if (m_document == document) return;
  if (m_document) disconnect(m_document, nullptr, this, nullptr);
  m_document = document;
  m_errorRow.clear();
  if (document) {
    for (auto signal : {&Document::structureChanged, &Document::geometryChanged, &Document::valuesChanged, &Document::selectionChanged})
      connect(document, signal, this, &PropertySheet::scheduleRefresh);
    connect(&document->history(), &QUndoStack::indexChanged, this, &PropertySheet::scheduleRefresh);
    connect(document, &QObject::destroyed, this, [this] {
      m_rows.clear();
      m_shown.clear();
      m_tree->clear();
    });
  }
  refresh();
}

void PropertySheet::scheduleRefresh() { m_pending.start(); }

std::vector<forms::Window*> PropertySheet::targets() const {
  std::vector<forms::Window*> out;
  if (!m_document) return out;
  for (const ControlRef& r : m_document->selection())
    if (forms::Control* c = r.control(m_document->form())) out.push_back(c);
  if (out.empty()) out.push_back(&m_document->form());
  return out;
}

std::vector<ControlRef> PropertySheet::refsOf(const std::vector<forms::Window*>& targets) {
  std::vector<ControlRef> out;
  for (forms::Window* w : targets)
    if (auto* c = dynamic_cast<forms::Control*>(w)) out.push_back(ControlRef::of(*c));
  return out;
}

void PropertySheet::refresh() {
  m_pending.stop();
  const std::vector<forms::Window*> now = targets();
  std::vector<PropertyRow> rows = sharedRows(now);
  if (m_alphabetical->isChecked())
    std::stable_sort(rows.begin(), rows.end(), [](const PropertyRow& a, const PropertyRow& b) {
      return QString::compare(text(a.name), text(b.name), Qt::CaseInsensitive) < 0;
    });
  std::vector<ControlRef> refs = refsOf(now);
  if (refs != m_lastTargets) m_errorRow.clear();
  m_lastTargets = std::move(refs);
  const bool same = rows.size() == m_rows.size() &&
                    std::equal(rows.begin(), rows.end(), m_rows.begin(), [](const PropertyRow& a, const PropertyRow& b) {
                      return a.name == b.name && a.editor == b.editor;
                    });
  m_rows = std::move(rows);
  // The same rows are only given their values: an editor open on one stays open.
  if (!same) rebuild();
  showValues(now);
  applyFilter();
  describeCurrent();
}

void PropertySheet::rebuild() {
  const QString current = m_tree->currentItem() ? m_tree->currentItem()->text(0) : QString();
  m_tree->clear();
  QTreeWidgetItem* keep = nullptr;
  for (std::size_t i = 0; i < m_rows.size(); ++i) {
    auto* item = new QTreeWidgetItem(m_tree, {text(m_rows[i].name), QString()});
    item->setData(0, kRowRole, static_cast<int>(i));
    if (m_rows[i].editor != Editor::ReadOnly) item->setFlags(item->flags() | Qt::ItemIsEditable);
    else item->setForeground(1, palette().brush(QPalette::Disabled, QPalette::Text));
    if (!m_rows[i].description.empty()) item->setToolTip(0, text(m_rows[i].description));
    if (item->text(0) == current) keep = item;
  }
  if (keep) m_tree->setCurrentItem(keep);
}

PropertySheet::Shown PropertySheet::valueOf(const PropertyRow& row, const std::vector<forms::Window*>& targets) {
  Shown s{{}, false, false, {}};
  std::vector<QString> texts;
  for (forms::Window* t : targets) texts.push_back(readText(row, *t));
  const bool alike = std::all_of(texts.begin(), texts.end(), [&](const QString& t) { return t == texts.front(); });
  s.text = alike ? texts.front() : QString();
  if (row.placement) return s;
  std::vector<QString> defaults;
  bool allKnown = true;
  // Read once per class: a selection of every control of a large form is mostly a few.
  std::map<std::string, std::pair<forms::Window*, QString>> byClass;
  for (std::size_t i = 0; i < targets.size(); ++i) {
    const std::string classId = classIdOf(*targets[i]);
    auto known = byClass.find(classId);
    if (known == byClass.end()) {
      forms::Window* made = m_defaults.prototype(classId);
      known = byClass.emplace(classId, std::make_pair(made, made ? readText(row, *made) : QString())).first;
    }
    forms::Window* proto = known->second.first;
    if (!proto) {
      allKnown = false;
      continue;
    }
    QString def = known->second.second;
    if (def == QLatin1String(kPrototypeName)) {
      // Starts as the control's name: not a default to reset to.
      allKnown = false;
      if (auto* c = dynamic_cast<forms::Control*>(targets[i])) def = text(c->name());
      else if (auto* f = dynamic_cast<forms::Form*>(targets[i])) def = text(f->name());
    }
    if (def != texts[i]) s.differs = true;
    defaults.push_back(def);
    if (i == 0) {
      try {
        s.def = forms::get(*proto, row.name);
      } catch (const forms::Error&) {
        allKnown = false;
      }
    }
  }
  const bool oneDefault = !defaults.empty() && std::all_of(defaults.begin(), defaults.end(), [&](const QString& d) { return d == defaults.front(); });
  s.resettable = s.differs && allKnown && oneDefault && (!s.def.isObject() || row.editor == Editor::Font || row.editor == Editor::Picture);
  return s;
}

void PropertySheet::showValues(const std::vector<forms::Window*>& targets) {
  m_shown.clear();
  for (const PropertyRow& row : m_rows) m_shown.push_back(valueOf(row, targets));
  for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = m_tree->topLevelItem(i);
    const int r = item->data(0, kRowRole).toInt();
    const PropertyRow& row = m_rows[r];
    const Shown& s = m_shown[r];
    QFont f = m_tree->font();
    f.setBold(s.differs);
    item->setFont(0, f);
    item->setFont(1, f);
    const bool failed = !m_errorRow.isEmpty() && m_errorRow == item->text(0);
    item->setText(1, failed ? m_errorText : s.text);
    item->setToolTip(1, failed ? m_errorText : s.text);
    if (failed) {
      item->setForeground(1, QColor(0xB0, 0x00, 0x20));
      item->setIcon(1, style()->standardIcon(QStyle::SP_MessageBoxWarning));
    } else if (row.editor == Editor::Colour && !s.text.isEmpty()) {
      item->setForeground(1, palette().brush(QPalette::Text));
      try {
        item->setIcon(1, swatchOf(forms::toQColor(static_cast<uint32_t>(parseValue(row, s.text).toInt32()))));
      } catch (const forms::Error&) {
        item->setIcon(1, QIcon());
      }
    } else {
      item->setForeground(1, palette().brush(row.editor == Editor::ReadOnly ? QPalette::Disabled : QPalette::Active, QPalette::Text));
      item->setIcon(1, QIcon());
    }
  }
}

void PropertySheet::applyFilter() {
  const QString filter = m_filter->text().trimmed();
  for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = m_tree->topLevelItem(i);
    item->setHidden(!filter.isEmpty() && !item->text(0).contains(filter, Qt::CaseInsensitive));
  }
}

void PropertySheet::describeCurrent() {
  QTreeWidgetItem* item = m_tree->currentItem();
  const PropertyRow* row = item ? rowOf(item->text(0)) : nullptr;
  m_reset->setEnabled(row && canReset(text(row->name)));
  if (!row) {
    m_descriptionName->clear();
    m_descriptionText->clear();
    return;
  }
  m_descriptionName->setText(text(row->name));
  QStringList parts;
  if (!row->description.empty()) parts << text(row->description);
  const QString value = shownValue(text(row->name));
  if (row->enumeration && !value.isEmpty()) {
    const int v = value.section(QLatin1Char(' '), 0, 0).toInt();
    for (const forms::EnumMember& m : row->enumeration->members)
      if (m.value == v && !m.description.empty()) parts << QStringLiteral("%1: %2").arg(text(m.name), text(m.description));
  }
  if (isLength(*row) && m_document) {
    const std::vector<forms::Window*> now = targets();
    if (!now.empty() && dynamic_cast<forms::Control*>(now.front())) parts << tr("In %1, the container's scale.").arg(unitOfLengths(*now.front()));
  }
  const QString error = errorOf(text(row->name));
  if (!error.isEmpty()) parts << tr("Not set: %1").arg(error);
  m_descriptionText->setText(parts.join(QStringLiteral("\n")));
}

void PropertySheet::showMenu(const QPoint& at) {
  QTreeWidgetItem* item = m_tree->itemAt(at);
  if (!item) return;
  const QString name = item->text(0);
  QMenu menu(this);
  QAction* reset = menu.addAction(tr("Reset to default"));
  reset->setEnabled(canReset(name));
  if (menu.exec(m_tree->viewport()->mapToGlobal(at)) == reset) resetToDefault(name);
}

QTreeWidgetItem* PropertySheet::itemOf(const QString& name) const {
  for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
    if (m_tree->topLevelItem(i)->text(0).compare(name, Qt::CaseInsensitive) == 0) return m_tree->topLevelItem(i);
  return nullptr;
}

int PropertySheet::rowIndex(const QString& name) const {
  for (std::size_t i = 0; i < m_rows.size() && i < m_shown.size(); ++i)
    if (text(m_rows[i].name).compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
  return -1;
}

const PropertyRow* PropertySheet::rowOf(const QString& name) const {
  const int i = rowIndex(name);
  return i < 0 ? nullptr : &m_rows[i];
}

QString PropertySheet::shownValue(const QString& name) const {
  const int i = rowIndex(name);
  return i < 0 ? QString() : m_shown[i].text;
}

bool PropertySheet::isNonDefault(const QString& name) const {
  const int i = rowIndex(name);
  return i >= 0 && m_shown[i].differs;
}

bool PropertySheet::canReset(const QString& name) const {
  const int i = rowIndex(name);
  return i >= 0 && m_shown[i].resettable && m_rows[i].editor != Editor::ReadOnly;
}

QString PropertySheet::errorOf(const QString& name) const {
  return m_errorRow.compare(name, Qt::CaseInsensitive) == 0 ? m_errorText : QString();
}

QString PropertySheet::description() const {
  const QString name = m_descriptionName->text();
  return name.isEmpty() ? QString() : name + QLatin1Char('\n') + m_descriptionText->text();
}

bool PropertySheet::apply(const PropertyRow& row, const forms::Variant& given) {
  if (!m_document) return false;
  const QString name = text(row.name);
  try {
    forms::Variant value = given;
    if (row.editor == Editor::Picture && value.type() == forms::VarType::String) {
      // A file, relative to the form's folder when not absolute.
      const QString folder = QFileInfo(text(m_document->entryPath())).absolutePath();
      const QString file = QDir(folder).absoluteFilePath(text(value.toString()));
      value = forms::Variant(forms::ObjectPtr(forms::LoadPicture(file.toStdString())));
    }
    const std::vector<ControlRef> refs = refsOf(targets());
    if (forms::equalsNoCase(row.name, "Name")) {
      if (refs.size() != 1) throw forms::Error(forms::err::InvalidCall, "only one control at a time can be renamed");
      const std::string wanted = value.toString();
      m_document->rename(refs.front(), wanted);
      m_document->select({ControlRef{wanted, refs.front().index}});
    } else {
      m_document->setProperty(refs, row.name, value);
    }
    m_errorRow.clear();
  } catch (const forms::Error& e) {
    m_errorRow = name;
    m_errorText = e.description().empty() ? tr("Error %1").arg(e.number()) : tr("%1 (error %2)").arg(text(e.description())).arg(e.number());
    scheduleRefresh();
    return false;
  }
  scheduleRefresh();
  return true;
}

bool PropertySheet::applyText(const QString& name, const QString& typed) {
  const PropertyRow* row = rowOf(name);
  if (!row || row->editor == Editor::ReadOnly) return false;
  const PropertyRow copy = *row;  // the rows are read again after the step
  return apply(copy, parseValue(copy, typed));
}

void PropertySheet::resetToDefault(const QString& name) {
  if (!canReset(name)) return;
  const int i = rowIndex(name);
  const PropertyRow row = m_rows[i];  // the rows are read again after the step
  apply(row, copyOf(m_shown[i].def));
}

void PropertySheet::setFilter(const QString& filter) { m_filter->setText(filter); }

void PropertySheet::setAlphabetical(bool alphabetical) { m_alphabetical->setChecked(alphabetical); }

}  // namespace designer
