#pragma once
// Pictures loaded from files; their Width and Height are in HIMETRIC.
#include <QImage>
#include <memory>
#include <string>

#include "forms/object.h"

namespace forms {

class Picture : public Object {
 public:
  Picture(QImage image, std::string path);
  const ClassInfo& classInfo() const override;

  int32_t get_Width() const;   // HIMETRIC
  int32_t get_Height() const;  // HIMETRIC
  int16_t get_Type() const { return 1; }  // bitmap

  const QImage& image() const { return m_image; }
  const std::string& path() const { return m_path; }

 private:
  QImage m_image;
  std::string m_path;
};

using PicturePtr = std::shared_ptr<Picture>;

// Reads PNG, JPEG or BMP. Error 53 for a missing file, 481 for one that is not a picture.
PicturePtr LoadPicture(const std::string& path);

}  // namespace forms
