#include "snapper.h"

#include <cmath>

namespace designer {

namespace {

double onGrid(double v, double grid) { return grid > 0 ? std::round(v / grid) * grid : v; }

}  // namespace

SnapResult snap(const SnapRequest& r) {
  SnapResult out{r.rect, {}};
  if (r.edges == EdgesAll) {
    out.rect.moveTo(onGrid(r.rect.left(), r.grid), onGrid(r.rect.top(), r.grid));
    return out;
  }
  const double least = r.grid > 0 ? r.grid : 1;
  double left = r.rect.left(), top = r.rect.top(), right = r.rect.right(), bottom = r.rect.bottom();
  // Each axis: the moving edge on the grid, kept at least a step from the one across.
  if (r.edges & EdgeLeft) left = std::min(onGrid(left, r.grid), right - least);
  if (r.edges & EdgeRight) right = std::max(onGrid(right, r.grid), left + least);
  if (r.edges & EdgeTop) top = std::min(onGrid(top, r.grid), bottom - least);
  if (r.edges & EdgeBottom) bottom = std::max(onGrid(bottom, r.grid), top + least);
  out.rect = QRectF(QPointF(left, top), QPointF(right, bottom));
  return out;
}

}  // namespace designer
