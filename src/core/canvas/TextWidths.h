// SPDX-License-Identifier: MIT
// How wide texts come out on a device, so that a print can break its lines before drawing.
#pragma once

#include "core/canvas/Canvas.h"
#include "core/format/Utf8.h"

#include <string_view>

namespace dirscribe {

// Measures as the canvas of the same device writes: a text of this width fits a Text()
// room of at least that width without being cut.
class TextWidths {
public:
    virtual ~TextWidths() = default;
    // The width of text written on one line in font, in 0.01 inch.
    [[nodiscard]] virtual double Width(std::string_view text, const FontRequest& font) const = 0;
};

// Every character half as wide as the font's cell is high: for drawings recorded without a
// device, where widths need only be plausible and the same everywhere.
class FixedPitchWidths final : public TextWidths {
public:
    [[nodiscard]] double Width(std::string_view text, const FontRequest& font) const override {
        return static_cast<double>(Utf8Length(text)) * font.height / 2;
    }
};

} // namespace dirscribe
