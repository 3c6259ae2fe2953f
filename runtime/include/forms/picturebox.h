#pragma once
// A picture box: a container with its own scale, background colour, border and Paint event.
#include <QPainter>

#include "forms/control.h"

namespace forms {

class PictureBox : public Control {
 public:
  explicit PictureBox(const Init& init);
  const ClassInfo& classInfo() const override;
  bool isContainer() const override { return true; }
  Scale* ownScale() override { return &m_scale; }
  QWidget* clientWidget() const override;
  void Refresh() override;

  int16_t get_ScaleMode() const { return m_scale.mode(); }
  void put_ScaleMode(int16_t mode) { setScaleMode(mode); }
  float get_ScaleWidth() const { return scaleExtent(Axis::X); }
  void put_ScaleWidth(float units) { setScaleExtent(Axis::X, units); }
  float get_ScaleHeight() const { return scaleExtent(Axis::Y); }
  void put_ScaleHeight(float units) { setScaleExtent(Axis::Y, units); }
  bool get_AutoSize() const { return m_autoSize; }
  void put_AutoSize(bool autoSize);
  int32_t get_BackColor() const { return static_cast<int32_t>(m_backColor); }
  void put_BackColor(int32_t color);
  int16_t get_BorderStyle() const { return m_borderStyle; }
  void put_BorderStyle(int16_t style);
  ObjectPtr get_Picture() const { return m_picture; }
  void putref_Picture(ObjectPtr picture);

  // Draws a picture at (x, y) in this box's scale, at its natural size unless a size is
  // given. Only takes effect inside the Paint event, as on a box without a backing store.
  void PaintPicture(const ObjectPtr& picture, float x, float y, std::optional<float> width = {},
                    std::optional<float> height = {});

  // Painting is done by the widget; it calls this with the painter set.
  void paint(QPainter& painter);
  int paintCount() const { return m_paintCount; }

 private:
  Scale m_scale;
  bool m_autoSize = false;
  uint32_t m_backColor = 0x8000000F;
  int16_t m_borderStyle = 1;
  ObjectPtr m_picture;
  QPainter* m_painter = nullptr;
  int m_paintCount = 0;
};

// The RGB value of an OLE colour: a system colour index when the high bit is set.
uint32_t resolveColor(uint32_t oleColor);
QColor toQColor(uint32_t oleColor);

// Draws the picture tiles of PaintPicture; shared by picture boxes and user controls.
void paintPictureAt(QPainter* painter, const Window& surface, const ObjectPtr& picture, float x, float y,
                    std::optional<float> width, std::optional<float> height);

}  // namespace forms
