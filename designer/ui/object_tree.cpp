#include "object_tree.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <set>

namespace designer {

namespace {

constexpr int kNameRole = Qt::UserRole;
constexpr int kIndexRole = Qt::UserRole + 1;

QString text(const std::string& s) { return QString::fromStdString(s); }

QString shortClassName(const std::string& classId) {
  const auto dot = classId.rfind('.');
  return text(dot == std::string::npos ? classId : classId.substr(dot + 1));
}

// The windows' own parent links, so each container costs its children only.
void addContained(const forms::Window& container, QTreeWidgetItem* parent, std::map<ControlRef, QTreeWidgetItem*>& items) {
  for (const forms::ControlPtr& c : container.childControls()) {
    const ControlRef ref = ControlRef::of(*c);
    auto* item = new QTreeWidgetItem(parent, {text(ref.text()), shortClassName(c->classId())});
    item->setData(0, kNameRole, text(ref.name));
    item->setData(0, kIndexRole, ref.index);
    item->setToolTip(1, text(c->classId()));
    items[ref] = item;
    addContained(*c, item, items);
  }
}

}  // namespace

ObjectTree::ObjectTree(QWidget* parent) : QTreeWidget(parent) {
  setObjectName(QStringLiteral("objectTree"));
  setColumnCount(2);
  setHeaderLabels({tr("Name"), tr("Class")});
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setExpandsOnDoubleClick(false);
  header()->setStretchLastSection(true);
  // Names nest deep (a list in a frame in a Scrollbay): room for them without measuring
  // every row.
  setIndentation(12);
  setColumnWidth(0, 190);
  connect(this, &QTreeWidget::itemSelectionChanged, this, &ObjectTree::selectFromItems);
  connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { emit activated(refOf(item)); });
}

void ObjectTree::setDocument(Document* document) {
  if (m_document == document) return;
  if (m_document) disconnect(m_document, nullptr, this, nullptr);
  m_document = document;
  if (document) {
    connect(document, &Document::structureChanged, this, &ObjectTree::rebuild);
    connect(document, &Document::selectionChanged, this, [this] {
      if (!m_selecting) showSelection();
    });
    connect(document, &QObject::destroyed, this, [this] {
      const QSignalBlocker quiet(this);
      m_items.clear();
      clear();
    });
  }
  rebuild();
}

QTreeWidgetItem* ObjectTree::itemOf(const ControlRef& ref) const {
  const auto it = m_items.find(ref);
  return it == m_items.end() ? nullptr : it->second;
}

ControlRef ObjectTree::refOf(const QTreeWidgetItem* item) {
  if (!item) return {};
  return {item->data(0, kNameRole).toString().toStdString(), static_cast<int16_t>(item->data(0, kIndexRole).toInt())};
}

void ObjectTree::rebuild() {
  const QSignalBlocker quiet(this);
  // What the user folded stays folded.
  std::set<ControlRef> folded;
  for (const auto& [ref, item] : m_items)
    if (item->childCount() > 0 && !item->isExpanded()) folded.insert(ref);
  m_items.clear();
  clear();
  if (!m_document) return;

  forms::Form& form = m_document->form();
  // Filled before it goes into the view, which then lays it out once.
  auto* root = new QTreeWidgetItem({text(form.name()), tr("Form")});
  root->setData(0, kIndexRole, -1);
  m_items[ControlRef{}] = root;
  addContained(form, root, m_items);
  addTopLevelItem(root);
  expandAll();
  for (const ControlRef& ref : folded)
    if (QTreeWidgetItem* item = itemOf(ref)) item->setExpanded(false);
  showSelection();
}

void ObjectTree::showSelection() {
  const QSignalBlocker quiet(this);
  if (!m_document || m_items.empty()) return;
  std::vector<QTreeWidgetItem*> chosen;
  for (const ControlRef& ref : m_document->selection())
    if (QTreeWidgetItem* item = itemOf(ref)) chosen.push_back(item);
  if (chosen.empty()) chosen.push_back(itemOf(ControlRef{}));

  QItemSelection selection;
  for (QTreeWidgetItem* item : chosen) {
    for (QTreeWidgetItem* up = item->parent(); up; up = up->parent()) up->setExpanded(true);
    selection.select(indexFromItem(item, 0), indexFromItem(item, columnCount() - 1));
  }
  selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  selectionModel()->setCurrentIndex(indexFromItem(chosen.front()), QItemSelectionModel::NoUpdate);
  scrollToItem(chosen.front());
}

void ObjectTree::selectFromItems() {
  if (!m_document) return;
  std::set<ControlRef> picked;
  std::vector<ControlRef> inTreeOrder;
  for (QTreeWidgetItemIterator it(this, QTreeWidgetItemIterator::Selected); *it; ++it) {
    const ControlRef ref = refOf(*it);
    if (ref.isForm()) continue;
    picked.insert(ref);
    inTreeOrder.push_back(ref);
  }
  // Those already chosen keep their places (the first is the one others align to); the
  // ones added follow in the tree's order.
  std::vector<ControlRef> refs;
  for (const ControlRef& ref : m_document->selection())
    if (picked.erase(ref)) refs.push_back(ref);
  for (const ControlRef& ref : inTreeOrder)
    if (picked.contains(ref)) refs.push_back(ref);

  m_selecting = true;
  m_document->select(refs);
  m_selecting = false;
  // The form's row stands for an empty selection, and only for that.
  if (QTreeWidgetItem* root = itemOf(ControlRef{}); root && root->isSelected() != refs.empty()) {
    const QSignalBlocker quiet(this);
    const QModelIndex index = indexFromItem(root);
    selectionModel()->select(index, (refs.empty() ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                                        QItemSelectionModel::Rows);
  }
}

void ObjectTree::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
    emit activated(refOf(currentItem()));
    event->accept();
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

}  // namespace designer
