#pragma once
// For end-to-end tests: what the designer shows, written as one line whenever it
// changes: the window's title, the selection, where the form and each of its controls
// lie in the window, and where each class of the toolbox is. Only with --log-state.
#include <QFile>
#include <QTimer>
#include <string>

namespace designer {

class MainWindow;

class StateLog : public QObject {
 public:
  // Error 53 when the file cannot be written.
  StateLog(MainWindow& window, const QString& path);

 private:
  void sample();
  std::string describe() const;

  MainWindow& m_window;
  QFile m_file;
  QTimer m_timer;
  std::string m_last;
};

}  // namespace designer
