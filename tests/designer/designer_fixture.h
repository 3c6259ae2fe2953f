#pragma once
// A form to design, with a frame, a picture box, a Scrollbay and a probe that holds a
// field, and a journal folder of the test's own.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>

#include "document.h"

// Rectangles and references read as text when a check fails.
inline void PrintTo(const QRectF& r, std::ostream* out) { *out << r.x() << "," << r.y() << " " << r.width() << "x" << r.height(); }
namespace designer {
inline void PrintTo(const ControlRef& r, std::ostream* out) { *out << r.text(); }
}  // namespace designer

class DesignerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_journals.isValid());
    qputenv("FORMS_DESIGNER_JOURNAL_DIR", m_journals.path().toUtf8());
  }
  void TearDown() override {
    if (doc) doc->close();
    doc.reset();
  }

  static const char* formText();
  // Writes formText() as design.json in `folder` (the test's own by default) and opens it.
  void openSample(const QString& folder = {});
  QString path(const QString& name) const { return m_journals.filePath(name); }
  QString journalFolder() const { return m_journals.path(); }

  std::unique_ptr<designer::Document> doc;

 private:
  QTemporaryDir m_journals;
};
