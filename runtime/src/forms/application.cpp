#include "forms/application.h"

#include <QCoreApplication>
#include <QFont>
#include <QPalette>
#include <QStyleFactory>

#include "forms/clock.h"
#include "forms/font.h"
#include "input_router.h"

namespace forms {

namespace {
Application* g_instance = nullptr;
}

Application::Application(int& argc, char** argv, ClockMode clock) {
  // Qt's own loop rather than GLib's, unless the host chose: GLib's wakes the loop with
  // a system call for every event posted, and showing or moving a control posts several.
  if (qEnvironmentVariableIsEmpty("QT_NO_GLIB")) qputenv("QT_NO_GLIB", "1");
  m_qt = std::make_unique<RoutingApplication>(argc, argv);
  // One look everywhere, so screenshots do not depend on the desktop's theme.
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  // A control whose Font is the standard one shows it by inheriting this.
  QApplication::setFont(Font().toQFont());
  // The classic face colour for forms, set once here: a palette set on each form would
  // be resolved again for every control made in it.
  QPalette palette = QApplication::palette();
  palette.setColor(QPalette::Window, QColor(212, 208, 200));
  QApplication::setPalette(palette);
  Clock::instance().setManual(clock == ClockMode::Manual);
  m_router = std::make_unique<InputRouter>();
  m_qt->installEventFilter(m_router.get());
  g_instance = this;
}

Application::~Application() {
  // Windows of unloaded forms whose deletion is still waiting for the loop.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  if (m_qt) m_qt->removeEventFilter(m_router.get());
  m_router.reset();
  g_instance = nullptr;
}

Application* Application::instance() { return g_instance; }

int Application::exec() { return QApplication::exec(); }

}  // namespace forms
