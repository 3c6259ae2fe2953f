#pragma once
// The widget of picture boxes and user controls: an outer widget that draws the
// border and an inner client widget that paints the contents and holds the children.
#include <QPainter>
#include <QWidget>
#include <functional>

namespace forms {

class SurfaceWidget : public QWidget {
 public:
  explicit SurfaceWidget(QWidget* parent);
  QWidget* client() const { return m_client; }

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
  QWidget* m_client;
  int m_border = 0;
};

class Window;
// Gives a window whose widget is a SurfaceWidget a border: drawn by the widget and
// taken off the client area that GetClientRect and WM_SIZE report.
void setSurfaceBorder(Window& window, int width);

}  // namespace forms
