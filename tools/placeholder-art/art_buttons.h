// Buttons, toggles and bars: the pictures every window's controls are made of. Each button has
// a resting, a hover (lighter, gold rim) and a pressed look (darker, caption shifted down).
#pragma once

#include <string>

#include "tools/placeholder-art/art_output.h"
#include "tools/placeholder-art/art_paint.h"

namespace art {

enum class Look { kNormal, kHover, kDown };

// Button faces by purpose.
constexpr Rgb kFaceGreen{34, 122, 64};
constexpr Rgb kFaceBlue{40, 86, 158};
constexpr Rgb kFaceRed{164, 44, 40};
constexpr Rgb kFaceAmber{178, 128, 34};
constexpr Rgb kFaceSlate{62, 72, 92};
constexpr Rgb kFacePurple{104, 58, 140};
// What shows around a button's rounded corners.
constexpr Rgb kConsole{22, 30, 28};

struct ButtonStyle {
  Rgb face = kFaceSlate;
  Rgb ground = kConsole;
  int32_t font_size = 0;  // 0: fitted to the button
  double radius = 4;
};

// One button drawn into `box` of the canvas. The caption may hold "\n" for two lines; a caption
// too wide for one line is split at its middle blank.
void PaintButton(Canvas& canvas, const Box& box, Look look, const std::string& caption, const ButtonStyle& style);

// The normal, hover and pressed files of one button (a null name is skipped: that look is
// painted elsewhere, into the window's background).
void WriteButtonFiles(Output& out, const char* normal, const char* hover, const char* down, int32_t width,
                      int32_t height, const std::string& caption, const ButtonStyle& style, const std::string& family);
// The same for a "b"/"o"/"d" + stem + ".b" triple.
void WriteButtonTriple(Output& out, const std::string& prefix_b, const std::string& prefix_o,
                       const std::string& prefix_d, const std::string& stem, int32_t width, int32_t height,
                       const std::string& caption, const ButtonStyle& style, const std::string& family);

// A bar button file: three cells of `cell_width` x 29 side by side (normal, hover, pressed). The
// caption goes into `caption_box` of each cell, so that the program can write an amount into
// the rest; an empty caption_box means the whole cell.
void WriteBarButton(Output& out, const std::string& name, int32_t cell_width, const std::string& caption,
                    const Box& caption_box, const ButtonStyle& style, const std::string& family,
                    int32_t cell_height = 29);

// A check-box toggle (normal, hover, pressed files): a box, ticked when `checked`, and its caption.
void WriteToggleFiles(Output& out, const std::string& normal, const std::string& hover, const std::string& down,
                      int32_t width, int32_t height, const std::string& caption, bool checked,
                      const std::string& family);

// A small ticked or unticked check box at (x, y), `side` pixels square.
void PaintCheckBox(Canvas& canvas, int32_t x, int32_t y, int32_t side, bool checked, Rgb ground);

}  // namespace art
