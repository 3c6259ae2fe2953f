#pragma once
// A form as the designer shows it: the design-mode form's own widget, without a frame,
// on a plain surface, and the overlay over both. One per open document.
#include <QScrollArea>
#include <memory>

#include "document.h"

namespace designer {

class Overlay;

class Canvas : public QScrollArea {
  Q_OBJECT

 public:
  explicit Canvas(std::unique_ptr<Document> document, QWidget* parent = nullptr);
  ~Canvas() override;

  Document& document() const { return *m_document; }
  Overlay& overlay() const { return *m_overlay; }
  // The form's top left corner on the surface, in pixels.
  static constexpr int kMargin = 12;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void fitSurface();

  std::unique_ptr<Document> m_document;
  QWidget* m_surface;
  Overlay* m_overlay;
};

}  // namespace designer
