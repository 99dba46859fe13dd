#include "tools/placeholder-art/art_paint.h"

#include <algorithm>
#include <cmath>

namespace art {

namespace {

int Clamp8(double value) { return static_cast<int>(std::clamp(std::lround(value), 0L, 255L)); }

double Coverage(double signed_distance) { return std::clamp(0.5 - signed_distance, 0.0, 1.0); }

}  // namespace

Rgb Shade(Rgb colour, double amount) {
  return amount >= 0 ? Mix(colour, Rgb{255, 255, 255}, amount) : Mix(colour, Rgb{0, 0, 0}, -amount);
}

Rgb Mix(Rgb a, Rgb b, double t) {
  return {Clamp8(a.r + (b.r - a.r) * t), Clamp8(a.g + (b.g - a.g) * t), Clamp8(a.b + (b.b - a.b) * t)};
}

platform::COLORREF Ref(Rgb colour) {
  return static_cast<platform::COLORREF>(colour.r | (colour.g << 8) | (colour.b << 16));
}

Canvas::Canvas(int32_t width, int32_t height) : width_(width), height_(height) {
  dc_ = platform::CreateCompatibleDC(nullptr);
  bitmap_ = platform::CreateCompatibleBitmap(dc_, width, height);
  platform::SelectObject(dc_, bitmap_);
  platform::SetBkMode(dc_, platform::TRANSPARENT);
  surface_ = platform::GetDCSurface(dc_);
}

Canvas::~Canvas() {
  platform::DeleteDC(dc_);
  platform::DeleteObject(bitmap_);
}

Rgb Canvas::Get(int32_t x, int32_t y) const {
  const uint8_t* pixel = surface_->Row(y) + static_cast<size_t>(x) * 3;
  return {pixel[2], pixel[1], pixel[0]};
}

void Canvas::Set(int32_t x, int32_t y, Rgb colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  uint8_t* pixel = surface_->Row(y) + static_cast<size_t>(x) * 3;
  pixel[0] = static_cast<uint8_t>(colour.b);
  pixel[1] = static_cast<uint8_t>(colour.g);
  pixel[2] = static_cast<uint8_t>(colour.r);
}

void Canvas::Blend(int32_t x, int32_t y, Rgb colour, double alpha) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || alpha <= 0) return;
  if (alpha >= 1) {
    Set(x, y, colour);
    return;
  }
  Set(x, y, Mix(Get(x, y), colour, alpha));
}

void Canvas::Fill(const Box& box, Rgb colour) {
  for (int32_t y = std::max(box.top, 0); y < std::min(box.bottom, height_); ++y) {
    for (int32_t x = std::max(box.left, 0); x < std::min(box.right, width_); ++x) Set(x, y, colour);
  }
}

void Canvas::VerticalGradient(const Box& box, Rgb top, Rgb bottom) {
  const double span = std::max(1, box.Height() - 1);
  for (int32_t y = box.top; y < box.bottom; ++y) {
    Fill({box.left, y, box.right, y + 1}, Mix(top, bottom, (y - box.top) / span));
  }
}

void Canvas::Frame(const Box& box, Rgb colour) {
  Fill({box.left, box.top, box.right, box.top + 1}, colour);
  Fill({box.left, box.bottom - 1, box.right, box.bottom}, colour);
  Fill({box.left, box.top, box.left + 1, box.bottom}, colour);
  Fill({box.right - 1, box.top, box.right, box.bottom}, colour);
}

void Canvas::Bevel(const Box& box, Rgb light, Rgb dark, bool sunk) {
  const Rgb upper = sunk ? dark : light;
  const Rgb lower = sunk ? light : dark;
  Fill({box.left, box.top, box.right, box.top + 1}, upper);
  Fill({box.left, box.top, box.left + 1, box.bottom}, upper);
  Fill({box.left, box.bottom - 1, box.right, box.bottom}, lower);
  Fill({box.right - 1, box.top + 1, box.right, box.bottom}, lower);
}

void Canvas::Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Rgb colour) {
  const int32_t steps = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
  for (int32_t i = 0; i <= steps; ++i) {
    const double t = steps == 0 ? 0 : static_cast<double>(i) / steps;
    Set(static_cast<int32_t>(std::lround(x1 + (x2 - x1) * t)), static_cast<int32_t>(std::lround(y1 + (y2 - y1) * t)),
        colour);
  }
}

void Canvas::Ellipse(double cx, double cy, double rx, double ry, Rgb colour, double alpha) {
  if (rx <= 0 || ry <= 0) return;
  const int32_t x0 = static_cast<int32_t>(std::floor(cx - rx - 1));
  const int32_t x1 = static_cast<int32_t>(std::ceil(cx + rx + 1));
  const int32_t y0 = static_cast<int32_t>(std::floor(cy - ry - 1));
  const int32_t y1 = static_cast<int32_t>(std::ceil(cy + ry + 1));
  for (int32_t y = y0; y <= y1; ++y) {
    for (int32_t x = x0; x <= x1; ++x) {
      const double u = (x + 0.5 - cx) / rx;
      const double v = (y + 0.5 - cy) / ry;
      const double f = u * u + v * v - 1.0;
      const double gradient = 2.0 * std::sqrt(u * u / (rx * rx) + v * v / (ry * ry)) + 1e-9;
      Blend(x, y, colour, alpha * Coverage(f / gradient));
    }
  }
}

void Canvas::EllipseRing(double cx, double cy, double rx, double ry, double thickness, Rgb colour) {
  const int32_t x0 = static_cast<int32_t>(std::floor(cx - rx - 1));
  const int32_t x1 = static_cast<int32_t>(std::ceil(cx + rx + 1));
  const int32_t y0 = static_cast<int32_t>(std::floor(cy - ry - 1));
  const int32_t y1 = static_cast<int32_t>(std::ceil(cy + ry + 1));
  for (int32_t y = y0; y <= y1; ++y) {
    for (int32_t x = x0; x <= x1; ++x) {
      const double u = (x + 0.5 - cx) / rx;
      const double v = (y + 0.5 - cy) / ry;
      const double f = u * u + v * v - 1.0;
      const double gradient = 2.0 * std::sqrt(u * u / (rx * rx) + v * v / (ry * ry)) + 1e-9;
      const double distance = std::abs(f / gradient + thickness / 2) - thickness / 2;
      Blend(x, y, colour, Coverage(distance));
    }
  }
}

void Canvas::RoundBox(const Box& box, double radius, Rgb colour, double alpha) {
  const double half_width = box.Width() / 2.0;
  const double half_height = box.Height() / 2.0;
  const double cx = box.left + half_width;
  const double cy = box.top + half_height;
  radius = std::min({radius, half_width, half_height});
  for (int32_t y = box.top; y < box.bottom; ++y) {
    for (int32_t x = box.left; x < box.right; ++x) {
      const double qx = std::abs(x + 0.5 - cx) - (half_width - radius);
      const double qy = std::abs(y + 0.5 - cy) - (half_height - radius);
      const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
      const double distance = outside + std::min(std::max(qx, qy), 0.0) - radius;
      Blend(x, y, colour, alpha * Coverage(distance));
    }
  }
}

void Canvas::Shape(const Box& bounds, const std::function<bool(double, double)>& inside, Rgb colour) {
  for (int32_t y = bounds.top; y < bounds.bottom; ++y) {
    for (int32_t x = bounds.left; x < bounds.right; ++x) {
      int hits = 0;
      for (int sy = 0; sy < 4; ++sy) {
        for (int sx = 0; sx < 4; ++sx) hits += inside(x + (sx + 0.5) / 4.0, y + (sy + 0.5) / 4.0) ? 1 : 0;
      }
      Blend(x, y, colour, hits / 16.0);
    }
  }
}

void Canvas::Grain(const Box& box, int amplitude, uint32_t seed) {
  uint32_t state = seed * 2654435761u + 1;
  for (int32_t y = std::max(box.top, 0); y < std::min(box.bottom, height_); ++y) {
    for (int32_t x = std::max(box.left, 0); x < std::min(box.right, width_); ++x) {
      state = state * 1664525u + 1013904223u;
      const int delta = static_cast<int>((state >> 24) % (2 * amplitude + 1)) - amplitude;
      const Rgb old = Get(x, y);
      Set(x, y, {Clamp8(old.r + delta), Clamp8(old.g + delta), Clamp8(old.b + delta)});
    }
  }
}

void Canvas::Vignette(const Box& box, double strength) {
  const double cx = box.left + box.Width() / 2.0;
  const double cy = box.top + box.Height() / 2.0;
  for (int32_t y = box.top; y < box.bottom; ++y) {
    for (int32_t x = box.left; x < box.right; ++x) {
      const double u = (x - cx) / (box.Width() / 2.0);
      const double v = (y - cy) / (box.Height() / 2.0);
      const double fall = std::clamp((u * u + v * v) * strength, 0.0, 0.8);
      Set(x, y, Shade(Get(x, y), -fall));
    }
  }
}

void Canvas::Text(const std::string& text, const Box& box, Rgb colour, int32_t size, uint32_t align, bool bold) {
  const platform::HFONT font =
      platform::CreateFont(size, 0, 0, 0, bold ? platform::FW_BOLD : platform::FW_NORMAL, 0, 0, 0,
                           platform::ANSI_CHARSET, 0, 0, 0, platform::VARIABLE_PITCH, "Arial");
  const platform::HFONT old = platform::SelectObject(dc_, font);
  platform::SetTextColor(dc_, Ref(colour));
  platform::RECT rect{box.left, box.top, box.right, box.bottom};
  platform::DrawText(dc_, text.c_str(), -1, &rect, align | platform::DT_NOPREFIX);
  platform::SelectObject(dc_, old);
  platform::DeleteObject(font);
}

void Canvas::ShadowText(const std::string& text, const Box& box, Rgb colour, int32_t size, uint32_t align,
                        bool bold) {
  Text(text, box.Moved(1, 1), Rgb{10, 10, 10}, size, align, bold);
  Text(text, box, colour, size, align, bold);
}

int32_t Canvas::TextWidth(const std::string& text, int32_t size, bool bold) {
  const platform::HFONT font =
      platform::CreateFont(size, 0, 0, 0, bold ? platform::FW_BOLD : platform::FW_NORMAL, 0, 0, 0,
                           platform::ANSI_CHARSET, 0, 0, 0, platform::VARIABLE_PITCH, "Arial");
  const platform::HFONT old = platform::SelectObject(dc_, font);
  platform::SIZE extent{};
  platform::GetTextExtentPoint32(dc_, text.c_str(), static_cast<int32_t>(text.size()), &extent);
  platform::SelectObject(dc_, old);
  platform::DeleteObject(font);
  return extent.cx;
}

int32_t Canvas::FitSize(const std::string& text, int32_t size, int32_t width, bool bold) {
  while (size > 8 && TextWidth(text, size, bold) > width) --size;
  return size;
}

void Canvas::Paste(const Canvas& source, int32_t x, int32_t y) { Paste(source, source.Whole(), x, y); }

void Canvas::Paste(const Canvas& source, const Box& from, int32_t x, int32_t y) {
  for (int32_t row = from.top; row < from.bottom; ++row) {
    for (int32_t column = from.left; column < from.right; ++column) {
      Set(x + column - from.left, y + row - from.top, source.Get(column, row));
    }
  }
}

void Canvas::KeyOutside(const std::function<bool(int32_t, int32_t)>& inside, Rgb key) {
  for (int32_t y = 0; y < height_; ++y) {
    for (int32_t x = 0; x < width_; ++x) {
      if (!inside(x, y)) Set(x, y, key);
    }
  }
}

void Canvas::AvoidKey(Rgb key, const std::function<bool(int32_t, int32_t)>& allowed) {
  for (int32_t y = 0; y < height_; ++y) {
    for (int32_t x = 0; x < width_; ++x) {
      if (Get(x, y) == key && !allowed(x, y)) {
        Set(x, y, {key.r > 127 ? key.r - 1 : key.r + 1, key.g > 127 ? key.g - 1 : key.g + 1,
                   key.b > 127 ? key.b - 1 : key.b + 1});
      }
    }
  }
}

namespace {

bool InCircle(double u, double v, double cu, double cv, double radius) {
  return (u - cu) * (u - cu) + (v - cv) * (v - cv) <= radius * radius;
}

// Whether (u, v) lies in the triangle a, b, c.
bool InTriangle(double u, double v, double au, double av, double bu, double bv, double cu, double cv) {
  const double d1 = (u - bu) * (av - bv) - (au - bu) * (v - bv);
  const double d2 = (u - cu) * (bv - cv) - (bu - cu) * (v - cv);
  const double d3 = (u - au) * (cv - av) - (cu - au) * (v - av);
  const bool negative = d1 < 0 || d2 < 0 || d3 < 0;
  const bool positive = d1 > 0 || d2 > 0 || d3 > 0;
  return !(negative && positive);
}

// The suit shapes on a unit square centred on 0: u to the right, v downwards, each -0.5 .. 0.5.
bool InSuit(int suit, double u, double v) {
  switch (suit) {
    case kDiamonds:
      return std::abs(u) / 0.40 + std::abs(v) / 0.5 <= 1.0;
    case kHearts:
      return InCircle(u, v, -0.225, -0.2, 0.25) || InCircle(u, v, 0.225, -0.2, 0.25) ||
             InTriangle(u, v, -0.468, -0.12, 0.468, -0.12, 0.0, 0.5);
    case kSpades:
      return InCircle(u, v, -0.225, 0.08, 0.22) || InCircle(u, v, 0.225, 0.08, 0.22) ||
             InTriangle(u, v, -0.44, 0.02, 0.44, 0.02, 0.0, -0.5) ||
             InTriangle(u, v, 0.0, 0.1, -0.17, 0.5, 0.17, 0.5);
    default:  // clubs
      return InCircle(u, v, 0.0, -0.26, 0.21) || InCircle(u, v, -0.25, 0.07, 0.21) ||
             InCircle(u, v, 0.25, 0.07, 0.21) || InCircle(u, v, 0.0, 0.0, 0.12) ||
             InTriangle(u, v, 0.0, 0.0, -0.17, 0.5, 0.17, 0.5);
  }
}

}  // namespace

void DrawSuit(Canvas& canvas, int suit, double cx, double cy, double size, Rgb colour) {
  const Box bounds{static_cast<int32_t>(std::floor(cx - size / 2 - 1)), static_cast<int32_t>(std::floor(cy - size / 2 - 1)),
                   static_cast<int32_t>(std::ceil(cx + size / 2 + 1)), static_cast<int32_t>(std::ceil(cy + size / 2 + 1))};
  canvas.Shape(bounds, [&](double x, double y) { return InSuit(suit, (x - cx) / size, (y - cy) / size); }, colour);
}

Rgb SuitColour(int suit, bool four_colour) {
  switch (suit) {
    case kClubs:
      return four_colour ? Rgb{16, 122, 44} : Rgb{20, 20, 24};
    case kDiamonds:
      return four_colour ? Rgb{22, 78, 200} : Rgb{204, 22, 34};
    case kHearts:
      return Rgb{204, 22, 34};
    default:
      return Rgb{20, 20, 24};
  }
}

double RoundBoxDistance(double x, double y, const Box& box, double radius) {
  const double qx = std::abs(x - (box.left + box.right) / 2.0) - (box.Width() / 2.0 - radius);
  const double qy = std::abs(y - (box.top + box.bottom) / 2.0) - (box.Height() / 2.0 - radius);
  return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - radius;
}

bool InEllipse(double x, double y, double cx, double cy, double rx, double ry) {
  const double u = (x - cx) / rx;
  const double v = (y - cy) / ry;
  return u * u + v * v <= 1.0;
}

void Key(Canvas& canvas, Rgb key, const std::function<bool(double, double)>& inside) {
  canvas.AvoidKey(key, [](int32_t, int32_t) { return false; });
  canvas.KeyOutside([&](int32_t x, int32_t y) { return inside(x + 0.5, y + 0.5); }, key);
}

}  // namespace art
