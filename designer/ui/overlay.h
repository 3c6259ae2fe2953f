#pragma once
// The glass over the form being designed: it takes every mouse and key event meant for
// the form's controls and paints the grid, the selection's handles, the rubber band, the
// container a drag would drop into and the rectangle of a control being placed. The
// form's own widgets never hear the user.
#include <QElapsedTimer>
#include <QPixmap>
#include <QWidget>
#include <vector>

#include "document.h"
#include "snapper.h"

namespace designer {

class Overlay : public QWidget {
  Q_OBJECT

 public:
  // `host` holds the form's widget, which the overlay lies over.
  Overlay(Document& document, QWidget* host);

  // A class to place with the next press (a rectangle dragged, or a click for its own
  // size); empty to select again.
  void setPlacing(const QString& classId);
  const QString& placing() const { return m_placing; }
  // The grid's step in twips; 0 for none.
  void setGrid(double twips);
  double grid() const { return m_gridTwips; }

  // Tab order: a numbered badge on every stop of the Tab walk; a click puts the control
  // next in the order, Ctrl+click goes on from it. One step for the whole edit.
  void setTabOrderMode(bool on);
  bool tabOrderMode() const { return m_tabMode; }
  // The badges' controls in their order, where the overlay draws them.
  std::vector<forms::Control*> badges() const;

  // A gesture as the mouse makes it, in this widget's pixels: what the events call, and
  // what a benchmark can call too.
  void press(const QPoint& at, Qt::KeyboardModifiers modifiers);
  void moveTo(const QPoint& at, Qt::KeyboardModifiers modifiers);
  void release(const QPoint& at, Qt::KeyboardModifiers modifiers);
  // Arrow keys: a grid step (Ctrl: a pixel) of the selection's move, or with Shift of its size.
  void nudge(int dx, int dy, Qt::KeyboardModifiers modifiers);

  // A control's rectangle in this widget's pixels, and the container holding the point.
  QRect pixelRect(const forms::Control& control) const;
  forms::Window& containerAt(const QPoint& at, const std::vector<forms::Control*>& excluded = {}) const;
  // Whether a gesture's still picture is what shows.
  bool frozen() const { return !m_still.isNull(); }
  forms::Control* controlAt(const QPoint& at) const;

 signals:
  void placed();  // a control was placed: the placement tool is done
  void tabOrderModeChanged(bool on);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class Gesture { None, Pending, Drag, Resize, Band, Place };
  struct Dragged {
    ControlRef ref;
    ControlRef container;
    QRectF start;       // in its container's scale
    QPointF unitsPerPixel;
    QRect startPixels;  // in this widget's pixels
    QPixmap image;      // how it looked when the drag began
    QRectF now;         // where the gesture has it, in its container's scale
  };

  std::vector<forms::Control*> selected() const;
  QPointF unitsPerPixel(const forms::Window& container) const;
  double gridIn(const forms::Window& container, Qt::KeyboardModifiers modifiers) const;
  // A dragged or sized rectangle on the grid and to the guides the drag began with.
  SnapResult snapInDrag(const QRectF& rect, int edges, const Dragged& lead, const forms::Window& container,
                        Qt::KeyboardModifiers modifiers) const;
  // The guides of the drag under way, in the overlay's pixels.
  std::vector<QLineF> guidePixels() const;
  QPoint contentOrigin(const forms::Window& container) const;
  std::vector<QRect> handles(const QRect& r) const;
  // The edges a handle moves, or 0 when the point is on none.
  int handleAt(const QPoint& at, forms::Control** control) const;
  QRect decorations() const;  // what the overlay paints now, to repaint just that
  void refresh();             // repaints the old and the new decorations
  void repaintAll();          // repaints everything, the decorations where they are now
  // A gesture paints over a still picture of the form taken as it begins, and moves no
  // widget until it ends: a step repaints the glass alone, whatever the form holds.
  void freeze();
  void thaw();
  QRect shownRect(const forms::Control& control) const;  // where a gesture has it, else where it is
  void finishDrag(Qt::KeyboardModifiers modifiers);
  void cancelGesture();
  QString nudgeKey();

  Document& m_document;
  QWidget* m_host;
  QString m_placing;
  double m_gridTwips = 120;
  QPixmap m_gridTile;

  Gesture m_gesture = Gesture::None;
  QPoint m_pressAt, m_at;
  Qt::KeyboardModifiers m_pressModifiers;
  std::vector<Dragged> m_dragged;  // the first is the control pressed
  int m_edges = 0;                 // a resize's
  forms::Window* m_dropTarget = nullptr;
  ControlRef m_dropRef;
  QRect m_band;
  QRect m_painted;  // decorations last painted
  QPointF m_shift;  // a drag's move of the lead, in pixels
  QPixmap m_still;  // the form as the gesture began, without the glass
  QPoint m_stillAt;
  bool m_grabbing = false;
  std::vector<forms::Control*> m_containers;  // every container, taken as the gesture began
  // Guides: the lead's container inside and the rectangles of the controls beside it, in
  // its scale, taken as the gesture began; the lines the last step came to.
  QRectF m_guideArea;
  std::vector<QRectF> m_guideSiblings;
  std::vector<QLineF> m_guides;
  ControlRef m_guideContainer;
  void tabClick(const QPoint& at, Qt::KeyboardModifiers modifiers);
  bool m_tabMode = false;
  std::vector<ControlRef> m_tabPlaced;  // stops put in order in this edit, the last one last
  int m_tabEdit = 0;

  // A burst of nudges is one step: the same selection, nothing else between, no pause.
  QElapsedTimer m_lastNudge;
  int m_nudgeBurst = 0;
  int m_nudgeIndex = -1;
  std::vector<ControlRef> m_nudged;
};

}  // namespace designer
