#pragma once
// The one application object: owns the QApplication, routes input to the forms and
// runs the loop (or, in tests, the manual clock).
#include <QApplication>
#include <memory>

namespace forms {

class Application {
 public:
  enum class ClockMode { Real, Manual };
  Application(int& argc, char** argv, ClockMode clock = ClockMode::Real);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  static Application* instance();
  QApplication& qt() { return *m_qt; }
  int exec();

 private:
  std::unique_ptr<QApplication> m_qt;
  std::unique_ptr<QObject> m_router;
};

}  // namespace forms
