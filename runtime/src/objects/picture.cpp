#include "forms/picture.h"

#include <QFileInfo>
#include <QImageReader>

#include "forms/error.h"
#include "forms/units.h"

namespace forms {

Picture::Picture(QImage image, std::string path) : m_image(std::move(image)), m_path(std::move(path)) {}

const ClassInfo& Picture::classInfo() const {
  static const ClassInfo info = [] {
    ClassInfo c;
    c.name = "Picture";
    ClassBuilder<Picture> b(c);
    b.getter("Width", &Picture::get_Width);
    b.getter("Height", &Picture::get_Height);
    b.getter("Type", &Picture::get_Type);
    return c;
  }();
  return info;
}

int32_t Picture::get_Width() const { return toInt32(scaleX(static_cast<float>(m_image.width()), ScalePixels, ScaleHimetric)); }
int32_t Picture::get_Height() const { return toInt32(scaleY(static_cast<float>(m_image.height()), ScalePixels, ScaleHimetric)); }

PicturePtr LoadPicture(const std::string& path) {
  const QString file = QString::fromStdString(path);
  if (!QFileInfo(file).isFile()) throw Error(err::FileNotFound, "File not found: " + path);
  QImageReader reader(file);
  QImage image = reader.read();
  if (image.isNull()) throw Error(err::InvalidPicture, "Invalid picture: " + path);
  return std::make_shared<Picture>(std::move(image), path);
}

}  // namespace forms
