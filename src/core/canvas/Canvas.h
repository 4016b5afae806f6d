// SPDX-License-Identifier: MIT
// A drawing surface in 0.01 inch units, for printed pages.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dirscribe {

// A position in 0.01 inch, x to the right and y downward from the top left of the
// printable area.
struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Color&, const Color&) = default;
};

inline constexpr Color kBlack{0, 0, 0};
inline constexpr Color kWhite{255, 255, 255};

// A solid pen. Width 0 is the device's default pen: black, one device pixel wide.
struct Pen {
    int width = 0;
    Color color = kBlack;
    friend bool operator==(const Pen&, const Pen&) = default;
};

inline constexpr Pen kDefaultPen{};

// A font asked for by face, cell height, average character width (0: the face's own
// proportion) and weight (100 thin .. 400 normal .. 700 bold .. 900).
struct FontRequest {
    std::string face;
    int height = 0;
    int width = 0;
    int weight = 400;
    friend bool operator==(const FontRequest&, const FontRequest&) = default;
};

// Every call names its own pen, brush and font, so drawing one block never leaves state
// behind for the next. Rectangles run from their top-left to their bottom-right corner.
class Canvas {
public:
    virtual ~Canvas() = default;

    // Whether the device can make this font. When it cannot, Text() in that font writes
    // in the device's default font instead.
    [[nodiscard]] virtual bool CanMakeFont(const FontRequest& font) const = 0;

    // A straight segment between two points.
    virtual void Line(Point from, Point to, const Pen& pen) = 0;
    // A rectangle outlined with pen and filled with fill.
    virtual void Rectangle(Point topLeft, Point bottomRight, const Pen& pen, Color fill) = 0;
    // A rectangle with rounded corners, each corner a quarter of an ellipse of the given
    // width and height; outlined with pen and filled with fill.
    virtual void RoundRectangle(Point topLeft, Point bottomRight, int ellipseWidth,
                                int ellipseHeight, const Pen& pen, Color fill) = 0;
    // Writes UTF-8 text in black with the top-left of its first character cell at the
    // point, on one line. `room` is the width it may take to the right of the point: a
    // longer text is cut to fit and ends in "…", so it never runs over what stands there.
    virtual void Text(Point at, std::string_view text, const FontRequest& font, int room) = 0;
};

} // namespace dirscribe
