// Painting for the placeholder pictures: a canvas over a memory drawing context, with the
// platform's own text drawing and a few soft-edged shapes painted straight into its pixels.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/draw/gdi.h"
#include "platform/draw/surface.h"
#include "platform/text/text.h"

namespace art {

struct Rgb {
  int r = 0;
  int g = 0;
  int b = 0;
  bool operator==(const Rgb& other) const { return r == other.r && g == other.g && b == other.b; }
};

// The exact colours the program keys on; nothing else in a keyed picture may carry them.
constexpr Rgb kKeyGreen{0, 255, 0};
constexpr Rgb kKeyRed{255, 0, 0};
constexpr Rgb kKeyBlue{0, 0, 255};
constexpr Rgb kKeyWhite{255, 255, 255};

constexpr Rgb kWhiteText{250, 250, 250};
constexpr Rgb kGold{226, 190, 92};

// `colour` moved towards white (amount > 0) or black (amount < 0); amount in -1 .. 1.
Rgb Shade(Rgb colour, double amount);
Rgb Mix(Rgb a, Rgb b, double t);
platform::COLORREF Ref(Rgb colour);

struct Box {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  Box Inset(int32_t dx, int32_t dy) const { return {left + dx, top + dy, right - dx, bottom - dy}; }
  Box Moved(int32_t dx, int32_t dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
};

// Text placement, as DrawText takes it.
enum Align : uint32_t {
  kCentre = platform::DT_CENTER | platform::DT_VCENTER | platform::DT_SINGLELINE,
  kLeft = platform::DT_LEFT | platform::DT_VCENTER | platform::DT_SINGLELINE,
  kRight = platform::DT_RIGHT | platform::DT_VCENTER | platform::DT_SINGLELINE,
  kTopCentre = platform::DT_CENTER | platform::DT_TOP | platform::DT_SINGLELINE,
  kWrapped = platform::DT_CENTER | platform::DT_WORDBREAK,
};

class Canvas {
 public:
  Canvas(int32_t width, int32_t height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  Box Whole() const { return {0, 0, width_, height_}; }
  const platform::Surface& Picture() const { return *surface_; }

  Rgb Get(int32_t x, int32_t y) const;
  void Set(int32_t x, int32_t y, Rgb colour);
  // Mixes `colour` into the pixel by `alpha` (0 .. 1); pixels outside are ignored.
  void Blend(int32_t x, int32_t y, Rgb colour, double alpha);

  void Fill(const Box& box, Rgb colour);
  void VerticalGradient(const Box& box, Rgb top, Rgb bottom);
  void Frame(const Box& box, Rgb colour);
  // A one-pixel raised (or, with `sunk`, lowered) edge.
  void Bevel(const Box& box, Rgb light, Rgb dark, bool sunk = false);
  void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Rgb colour);

  // Soft-edged shapes (edges blended over one pixel).
  void Ellipse(double cx, double cy, double rx, double ry, Rgb colour, double alpha = 1.0);
  void EllipseRing(double cx, double cy, double rx, double ry, double thickness, Rgb colour);
  void RoundBox(const Box& box, double radius, Rgb colour, double alpha = 1.0);
  // Any shape given by an inside test over a bounding box, sampled 4 x 4 per pixel.
  void Shape(const Box& bounds, const std::function<bool(double, double)>& inside, Rgb colour);
  // Fine noise over a box, for cloth and wood; deterministic per seed.
  void Grain(const Box& box, int amplitude, uint32_t seed);
  // Light radial falloff towards the box's edges (a lamp over the table).
  void Vignette(const Box& box, double strength);

  // Text in the Arial face (bold unless asked otherwise) at a cell height of `size` pixels.
  void Text(const std::string& text, const Box& box, Rgb colour, int32_t size, uint32_t align = kCentre,
            bool bold = true);
  // The same with a one-pixel dark shadow below right.
  void ShadowText(const std::string& text, const Box& box, Rgb colour, int32_t size, uint32_t align = kCentre,
                  bool bold = true);
  int32_t TextWidth(const std::string& text, int32_t size, bool bold = true);
  // The largest size up to `size` at which the text fits `width` pixels (never below 8).
  int32_t FitSize(const std::string& text, int32_t size, int32_t width, bool bold = true);

  // Copies another canvas (or a box of it) here.
  void Paste(const Canvas& source, int32_t x, int32_t y);
  void Paste(const Canvas& source, const Box& from, int32_t x, int32_t y);

  // Every pixel whose `inside` test fails becomes `key`, with no blending at the border.
  void KeyOutside(const std::function<bool(int32_t, int32_t)>& inside, Rgb key);
  // Any pixel equal to `key` that `allowed` does not permit is nudged off the key by one step.
  void AvoidKey(Rgb key, const std::function<bool(int32_t, int32_t)>& allowed);

 private:
  int32_t width_;
  int32_t height_;
  platform::HDC dc_ = nullptr;
  platform::HBITMAP bitmap_ = nullptr;
  platform::Surface* surface_ = nullptr;
};

// Shape tests for keyed pictures: the signed distance to a rounded box's edge (negative inside),
// and whether a point lies in an ellipse (edge included).
double RoundBoxDistance(double x, double y, const Box& box, double radius);
bool InEllipse(double x, double y, double cx, double cy, double rx, double ry);
// Finishes a keyed picture: pixels whose centre is outside `inside` become the key, no other
// pixel is the key.
void Key(Canvas& canvas, Rgb key, const std::function<bool(double, double)>& inside);

// The four suits, in sheet row order.
enum Suit { kClubs = 0, kDiamonds = 1, kHearts = 2, kSpades = 3 };

// A suit mark of height `size` centred on (cx, cy).
void DrawSuit(Canvas& canvas, int suit, double cx, double cy, double size, Rgb colour);
// Suit colour in a two-colour deck (red and black) or a four-colour one (clubs green, diamonds
// blue). The four-colour green is darker than the key green.
Rgb SuitColour(int suit, bool four_colour);

}  // namespace art
