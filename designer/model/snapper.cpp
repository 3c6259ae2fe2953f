#include "snapper.h"

#include <cmath>
#include <optional>

namespace designer {

namespace {

double onGrid(double v, double grid) { return grid > 0 ? std::round(v / grid) * grid : v; }

// Lines a guide can join on one axis: the container's sides and each sibling's edges and
// centre, with the rectangle each belongs to.
struct Mark {
  double at;
  QRectF from;
};

std::vector<Mark> marks(const SnapRequest& r, bool x) {
  std::vector<Mark> out;
  if (!r.container.isEmpty()) {
    out.push_back({x ? r.container.left() : r.container.top(), r.container});
    out.push_back({x ? r.container.right() : r.container.bottom(), r.container});
  }
  for (const QRectF& s : r.siblings) {
    out.push_back({x ? s.left() : s.top(), s});
    out.push_back({x ? s.center().x() : s.center().y(), s});
    out.push_back({x ? s.right() : s.bottom(), s});
  }
  return out;
}

struct Found {
  double shift;  // to add to the moving lines
  double at;
  QRectF from;
};

// The nearest mark within reach of any of `lines`.
std::optional<Found> nearest(const std::vector<Mark>& marks, const std::vector<double>& lines, double reach) {
  std::optional<Found> best;
  for (const Mark& m : marks)
    for (double l : lines) {
      const double d = m.at - l;
      if (std::abs(d) <= reach && (!best || std::abs(d) < std::abs(best->shift))) best = Found{d, m.at, m.from};
    }
  return best;
}

QLineF guideLine(bool x, double at, const QRectF& a, const QRectF& b) {
  const QRectF both = a | b;
  return x ? QLineF(at, both.top(), at, both.bottom()) : QLineF(both.left(), at, both.right(), at);
}

}  // namespace

SnapResult snap(const SnapRequest& r) {
  SnapResult out{r.rect, {}};
  const bool guided = r.reach > 0;
  if (r.edges == EdgesAll) {
    QPointF to(onGrid(r.rect.left(), r.grid), onGrid(r.rect.top(), r.grid));
    for (bool x : {true, false}) {
      if (!guided) continue;
      const double lo = x ? r.rect.left() : r.rect.top(), hi = x ? r.rect.right() : r.rect.bottom();
      if (auto f = nearest(marks(r, x), {lo, (lo + hi) / 2, hi}, r.reach)) {
        (x ? to.rx() : to.ry()) = lo + f->shift;
        QRectF placed = r.rect;
        placed.moveTopLeft(x ? QPointF(lo + f->shift, r.rect.top()) : QPointF(r.rect.left(), lo + f->shift));
        out.guides.push_back(guideLine(x, f->at, placed, f->from));
      }
    }
    out.rect.moveTo(to);
    // Guides drawn across the rectangle where it came to rest.
    for (QLineF& g : out.guides) {
      const bool vertical = g.x1() == g.x2();
      const QRectF both = out.rect | QRectF(g.p1(), g.p2());
      g = vertical ? QLineF(g.x1(), both.top(), g.x1(), both.bottom()) : QLineF(both.left(), g.y1(), both.right(), g.y1());
    }
    return out;
  }
  const double least = r.grid > 0 ? r.grid : 1;
  double left = r.rect.left(), top = r.rect.top(), right = r.rect.right(), bottom = r.rect.bottom();
  // Each moving edge: to a guide within reach, else on the grid; kept a step from the one across.
  auto place = [&](double edge, bool x) {
    if (guided)
      if (auto f = nearest(marks(r, x), {edge}, r.reach)) {
        out.guides.push_back(guideLine(x, f->at, r.rect, f->from));
        return f->at;
      }
    return onGrid(edge, r.grid);
  };
  if (r.edges & EdgeLeft) left = std::min(place(left, true), right - least);
  if (r.edges & EdgeRight) right = std::max(place(right, true), left + least);
  if (r.edges & EdgeTop) top = std::min(place(top, false), bottom - least);
  if (r.edges & EdgeBottom) bottom = std::max(place(bottom, false), top + least);
  out.rect = QRectF(QPointF(left, top), QPointF(right, bottom));
  return out;
}

}  // namespace designer
