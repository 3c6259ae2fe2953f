// Posted events that are not merged. Qt merges a posted update or layout request into
// one already waiting for the same widget by walking every posted event; a form of
// thousands of controls has thousands waiting after it is built, shown or has its
// controls moved, and each such post would walk them all.
#include <QWidget>

#include "input_router.h"

namespace forms {

bool RoutingApplication::compressEvent(QEvent* event, QObject* receiver, QPostEventList* posted) {
  switch (event->type()) {
    case QEvent::UpdateLater:
      // Each one marks its region for the next paint; two marks paint as one.
      return false;
    case QEvent::LayoutRequest:
      // Without a layout the request does nothing, however often it comes.
      if (const auto* w = qobject_cast<const QWidget*>(receiver); w && !w->layout()) return false;
      break;
    default:
      break;
  }
  return QApplication::compressEvent(event, receiver, posted);
}

}  // namespace forms
