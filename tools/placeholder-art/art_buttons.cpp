#include "tools/placeholder-art/art_buttons.h"

#include <algorithm>
#include <cmath>

namespace art {

namespace {

// Two halves of a caption split at the blank nearest its middle; the second is empty when the
// caption has no blank.
std::pair<std::string, std::string> SplitCaption(const std::string& caption) {
  const size_t newline = caption.find('\n');
  if (newline != std::string::npos) return {caption.substr(0, newline), caption.substr(newline + 1)};
  size_t best = std::string::npos;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != ' ') continue;
    const auto distance = [&](size_t at) {
      return at > caption.size() / 2 ? at - caption.size() / 2 : caption.size() / 2 - at;
    };
    if (best == std::string::npos || distance(i) < distance(best)) best = i;
  }
  if (best == std::string::npos) return {caption, ""};
  return {caption.substr(0, best), caption.substr(best + 1)};
}

}  // namespace

void PaintButton(Canvas& canvas, const Box& box, Look look, const std::string& caption, const ButtonStyle& style) {
  canvas.Fill(box, style.ground);
  const bool down = look == Look::kDown;
  const double lift = look == Look::kHover ? 0.18 : (down ? -0.22 : 0.0);
  const Rgb face = Shade(style.face, lift);
  const double radius = std::min(style.radius, box.Height() / 3.0);
  // Rim, then the face inside it with a gradient lit from above (from below when pressed).
  canvas.RoundBox(box, radius, look == Look::kHover ? kGold : Shade(style.face, -0.55));
  const Box inner = box.Inset(1, 1);
  Canvas face_picture(inner.Width(), inner.Height());
  face_picture.VerticalGradient(face_picture.Whole(), Shade(face, down ? -0.15 : 0.28), Shade(face, down ? 0.1 : -0.2));
  if (!down && inner.Height() > 6) {
    face_picture.Fill({1, 0, inner.Width() - 1, 1}, Shade(face, 0.5));
  }
  for (int32_t y = 0; y < inner.Height(); ++y) {
    for (int32_t x = 0; x < inner.Width(); ++x) {
      // The face only where the rounded inner outline covers the pixel.
      const double inner_radius = std::max(0.0, radius - 1);
      const double qx = std::abs(x + 0.5 - inner.Width() / 2.0) - (inner.Width() / 2.0 - inner_radius);
      const double qy = std::abs(y + 0.5 - inner.Height() / 2.0) - (inner.Height() / 2.0 - inner_radius);
      const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - inner_radius;
      canvas.Blend(inner.left + x, inner.top + y, face_picture.Get(x, y), std::clamp(0.5 - outside, 0.0, 1.0));
    }
  }
  if (caption.empty()) return;
  const Box text_box = down ? box.Inset(3, 1).Moved(1, 1) : box.Inset(3, 1);
  const Rgb ink = look == Look::kHover ? Rgb{255, 246, 210} : kWhiteText;
  int32_t size = style.font_size > 0 ? style.font_size : std::clamp(box.Height() - 8, 10, 17);
  const bool two_lines_fit = box.Height() >= 24;
  const auto [first, second] = SplitCaption(caption);
  const bool forced = caption.find('\n') != std::string::npos;
  const int32_t one_line = canvas.FitSize(caption, size, text_box.Width());
  if (!forced && (one_line >= std::min(size, 11) || !two_lines_fit || second.empty())) {
    canvas.ShadowText(caption, text_box, ink, one_line);
    return;
  }
  const int32_t half = text_box.Height() / 2;
  const int32_t line_size =
      std::min(canvas.FitSize(first, std::min(size, half + 3), text_box.Width()),
               canvas.FitSize(second, std::min(size, half + 3), text_box.Width()));
  canvas.ShadowText(first, {text_box.left, text_box.top, text_box.right, text_box.top + half + 1}, ink, line_size);
  canvas.ShadowText(second, {text_box.left, text_box.top + half - 1, text_box.right, text_box.bottom}, ink, line_size);
}

void WriteButtonFiles(Output& out, const char* normal, const char* hover, const char* down, int32_t width,
                      int32_t height, const std::string& caption, const ButtonStyle& style, const std::string& family) {
  const struct {
    const char* name;
    Look look;
  } files[] = {{normal, Look::kNormal}, {hover, Look::kHover}, {down, Look::kDown}};
  for (const auto& file : files) {
    if (file.name == nullptr) continue;
    Canvas canvas(width, height);
    PaintButton(canvas, canvas.Whole(), file.look, caption, style);
    out.Bmp(file.name, canvas, family);
  }
}

void WriteButtonTriple(Output& out, const std::string& prefix_b, const std::string& prefix_o,
                       const std::string& prefix_d, const std::string& stem, int32_t width, int32_t height,
                       const std::string& caption, const ButtonStyle& style, const std::string& family) {
  const std::string normal = prefix_b + stem + ".b";
  const std::string hover = prefix_o + stem + ".b";
  const std::string down = prefix_d + stem + ".b";
  WriteButtonFiles(out, normal.c_str(), hover.c_str(), down.c_str(), width, height, caption, style, family);
}

void WriteBarButton(Output& out, const std::string& name, int32_t cell_width, const std::string& caption,
                    const Box& caption_box, const ButtonStyle& style, const std::string& family,
                    int32_t cell_height) {
  Canvas canvas(cell_width * 3, cell_height);
  const Look looks[] = {Look::kNormal, Look::kHover, Look::kDown};
  for (int cell = 0; cell < 3; ++cell) {
    const Box box{cell * cell_width, 0, (cell + 1) * cell_width, cell_height};
    PaintButton(canvas, box, looks[cell], "", style);
    const Box caption_area = caption_box.Width() > 0 ? caption_box.Moved(box.left, 0) : box.Inset(3, 1);
    const Box text_box = looks[cell] == Look::kDown ? caption_area.Moved(1, 1) : caption_area;
    const Rgb ink = looks[cell] == Look::kHover ? Rgb{255, 246, 210} : kWhiteText;
    const auto [first, second] = SplitCaption(caption);
    const int32_t size = std::min(15, text_box.Height() - 2);
    const int32_t one_line = canvas.FitSize(caption, size, text_box.Width());
    if (one_line >= std::min(size, 13) || second.empty() || text_box.Height() < 22) {
      canvas.ShadowText(caption, text_box, ink, one_line);
    } else {
      const int32_t half = text_box.Height() / 2;
      const int32_t line_size = std::min(canvas.FitSize(first, std::min(12, half + 2), text_box.Width()),
                                         canvas.FitSize(second, std::min(12, half + 2), text_box.Width()));
      canvas.ShadowText(first, {text_box.left, text_box.top, text_box.right, text_box.top + half + 1}, ink, line_size);
      canvas.ShadowText(second, {text_box.left, text_box.top + half - 1, text_box.right, text_box.bottom}, ink,
                        line_size);
    }
  }
  out.Bmp(name, canvas, family);
}

void PaintCheckBox(Canvas& canvas, int32_t x, int32_t y, int32_t side, bool checked, Rgb ground) {
  (void)ground;
  canvas.Fill({x, y, x + side, y + side}, Rgb{236, 236, 228});
  canvas.Bevel({x, y, x + side, y + side}, Rgb{90, 90, 90}, Rgb{250, 250, 250}, true);
  if (!checked) return;
  const Rgb tick{20, 130, 50};
  for (int32_t i = 0; i < 3; ++i) {
    canvas.Line(x + 2, y + side / 2 - 1 + i, x + side / 2 - 1, y + side - 4 + i, tick);
    canvas.Line(x + side / 2 - 1, y + side - 4 + i, x + side - 3, y + 2 + i, tick);
  }
}

void WriteToggleFiles(Output& out, const std::string& normal, const std::string& hover, const std::string& down,
                      int32_t width, int32_t height, const std::string& caption, bool checked,
                      const std::string& family) {
  const struct {
    const std::string& name;
    Look look;
  } files[] = {{normal, Look::kNormal}, {hover, Look::kHover}, {down, Look::kDown}};
  for (const auto& file : files) {
    Canvas canvas(width, height);
    const Rgb ground = file.look == Look::kHover ? Rgb{40, 58, 50} : (file.look == Look::kDown ? Rgb{16, 24, 20} : kConsole);
    canvas.Fill(canvas.Whole(), ground);
    const int32_t side = std::min(height - 4, 13);
    const int32_t offset = file.look == Look::kDown ? 1 : 0;
    PaintCheckBox(canvas, 3 + offset, (height - side) / 2 + offset, side, checked, ground);
    const Box text_box{side + 7 + offset, offset, width - 1, height + offset};
    const Rgb ink = file.look == Look::kHover ? Rgb{255, 240, 190} : Rgb{232, 232, 224};
    canvas.Text(caption, text_box, ink, canvas.FitSize(caption, std::min(13, height - 3), text_box.Width()), kLeft);
    out.Bmp(file.name, canvas, family);
  }
}

}  // namespace art
