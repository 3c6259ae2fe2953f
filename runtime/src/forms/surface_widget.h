#pragma once
// The widget of picture boxes and user controls: an outer widget that draws the
// border and an inner client widget that paints the contents and holds the children.
// A user control's contained controls sit one level further in, in a content area
// that its own pieces (scrollbars, say) can be kept out of.
#include <QPainter>
#include <QWidget>
#include <functional>

namespace forms {

class SurfaceWidget : public QWidget {
 public:
  explicit SurfaceWidget(QWidget* parent);
  QWidget* client() const { return m_client; }
  // Where contained controls go: the content area once there is one, else the client.
  QWidget* content() const { return m_content ? m_content : m_client; }
  void addContentArea();
  // Leaves strips along the right and bottom edges of the client out of the content
  // area. With nothing stacked over it, Qt can scroll what is in it by copying pixels.
  void setContentInsets(int right, int bottom);

  // Border width in pixels (0 none, 1 flat, 2 three-dimensional).
  void setBorder(int width);
  int border() const { return m_border; }
  void setBackground(const QColor& color);

  std::function<void(QPainter&)> paintContents;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  class Client;
  void placeContent();
  QWidget* m_client;
  QWidget* m_content = nullptr;
  int m_border = 0;
  int m_insetRight = 0;
  int m_insetBottom = 0;
  // Painted by the client itself rather than set in its palette: a palette of its own
  // would be resolved again for every widget put in it, and every widget moved in.
  QColor m_background;
};

class Window;
// Gives a window whose widget is a SurfaceWidget a border: drawn by the widget and
// taken off the client area that GetClientRect and WM_SIZE report.
void setSurfaceBorder(Window& window, int width);

}  // namespace forms
