#include "toolbox.h"

#include <QKeyEvent>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "forms/library.h"
#include "forms/standard_classes.h"

namespace designer {

namespace {

QString text(const std::string& s) { return QString::fromStdString(s); }

QString classIdOf(const QTreeWidgetItem* item) { return item ? item->data(0, Qt::UserRole).toString() : QString(); }

QTreeWidgetItem* addGroup(QTreeWidget* tree, const QString& name, const QString& tip) {
  auto* group = new QTreeWidgetItem(tree, {name});
  group->setToolTip(0, tip);
  group->setFlags(Qt::ItemIsEnabled);
  QFont bold = group->font(0);
  bold.setBold(true);
  group->setFont(0, bold);
  return group;
}

void addClass(QTreeWidgetItem* group, const QString& name, const QString& classId, const std::string& description) {
  auto* item = new QTreeWidgetItem(group, {name});
  item->setData(0, Qt::UserRole, classId);
  item->setToolTip(0, description.empty() ? classId : classId + "\n" + text(description));
  item->setFlags(Qt::ItemIsEnabled);
}

// Keys that only mean something to a widget with the focus. Shortcuts with Ctrl or Alt
// and function keys (Save, Run) still work from here.
bool plainKey(const QKeyEvent* key) {
  if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  return key->key() < Qt::Key_F1 || key->key() > Qt::Key_F35;
}

}  // namespace

Toolbox::Toolbox(QWidget* parent) : QWidget(parent), m_tree(new QTreeWidget) {
  auto* reloadButton = new QToolButton;
  reloadButton->setObjectName(QStringLiteral("reloadLibraries"));
  reloadButton->setText(tr("Reload libraries"));
  reloadButton->setToolTip(tr("Look for control libraries on the search path again"));
  reloadButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
  connect(reloadButton, &QToolButton::clicked, this, &Toolbox::reload);

  m_tree->setObjectName(QStringLiteral("toolbox"));
  m_tree->setHeaderHidden(true);
  m_tree->setUniformRowHeights(true);
  m_tree->setSelectionMode(QAbstractItemView::NoSelection);
  m_tree->setExpandsOnDoubleClick(false);
  m_tree->installEventFilter(this);
  connect(m_tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) { toggle(item); });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(reloadButton, 0, Qt::AlignLeft);
  layout->addWidget(m_tree);
  reload();
}

void Toolbox::reload() {
  m_tree->clear();
  const forms::LibraryInfo& standard = forms::standardLibraryInfo();
  QTreeWidgetItem* group = addGroup(m_tree, text(standard.name), text(standard.description));
  for (const std::string& id : forms::standardClassIds()) addClass(group, text(id.substr(id.find('.') + 1)), text(id), {});

  bool armedFound = false;
  const QIcon warning = style()->standardIcon(QStyle::SP_MessageBoxWarning);
  for (const forms::ControlLibraryListing& listing : forms::listControlLibraries()) {
    const QString name = text(listing.name);
    if (!listing.info) {
      group = addGroup(m_tree, name, text(listing.path));
      group->setIcon(0, warning);
      group->setForeground(0, Qt::red);
      auto* why = new QTreeWidgetItem(group, {text(listing.error)});
      why->setToolTip(0, text(listing.error));
      why->setIcon(0, warning);
      why->setForeground(0, Qt::red);
      why->setFlags(Qt::ItemIsEnabled);
      continue;
    }
    const QString description = text(listing.info->description);
    group = addGroup(m_tree, name, description.isEmpty() ? text(listing.path) : description + "\n" + text(listing.path));
    for (const forms::ClassInfo* c : listing.classes) {
      const QString id = name + "." + text(c->name);
      addClass(group, text(c->name), id, c->description);
      armedFound = armedFound || id == m_armed;
    }
  }
  m_tree->expandAll();
  for (const std::string& id : forms::standardClassIds()) armedFound = armedFound || text(id) == m_armed;
  if (!armedFound) arm({});
  showArmed();
}

void Toolbox::arm(const QString& classId) {
  if (classId == m_armed) return;
  m_armed = classId;
  showArmed();
  emit classArmed(m_armed);
}

void Toolbox::toggle(QTreeWidgetItem* item) {
  const QString id = classIdOf(item);
  if (id.isEmpty()) return;
  arm(id == m_armed ? QString() : id);
}

// The armed class looks selected; the tree's own selection is off, so that moving
// through the list with the arrows arms nothing.
void Toolbox::showArmed() {
  const QPalette& palette = m_tree->palette();
  for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
    QTreeWidgetItem* item = *it;
    const QString id = classIdOf(item);
    if (id.isEmpty()) continue;
    const bool armed = id == m_armed;
    item->setData(0, Qt::BackgroundRole, armed ? palette.highlight() : QVariant());
    item->setData(0, Qt::ForegroundRole, armed ? palette.highlightedText() : QVariant());
  }
}

bool Toolbox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_tree && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & ~Qt::KeypadModifier) return false;
    switch (key->key()) {
      case Qt::Key_Escape:
        disarm();
        return true;
      case Qt::Key_Return:
      case Qt::Key_Enter:
      case Qt::Key_Space:
        toggle(m_tree->currentItem());
        return true;
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

bool Toolbox::event(QEvent* event) {
  // Typed here, Delete or a letter is for the list, not for the canvas's shortcuts.
  if (event->type() == QEvent::ShortcutOverride && plainKey(static_cast<QKeyEvent*>(event))) {
    event->accept();
    return true;
  }
  return QWidget::event(event);
}

// What the tree and the button leave stops here rather than reaching the window.
void Toolbox::keyPressEvent(QKeyEvent* event) { event->accept(); }

}  // namespace designer
