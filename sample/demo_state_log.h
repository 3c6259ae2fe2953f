#pragma once
// What a test of the demo wants to see of the running form: which field has the focus,
// where it is and whether all of it shows, and where the three viewports and the two
// frames are. A line is written whenever any of it changes.
#include <QFile>
#include <QObject>
#include <QTimer>
#include <string>

#include "forms/form.h"

class DemoStateLog : public QObject {
 public:
  DemoStateLog(forms::Form& form, const std::string& path);

 private:
  void sample();
  std::string describe() const;

  forms::Form& m_form;
  QFile m_file;
  QTimer m_timer;
  std::string m_last;
};
