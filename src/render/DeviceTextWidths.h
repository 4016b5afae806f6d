// SPDX-License-Identifier: MIT
// Text widths measured as a QPainterCanvas on the same device writes the texts.
#pragma once

#include "core/canvas/TextWidths.h"
#include "render/PrintFont.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <vector>

namespace dirscribe {

// Makes each font as QPainterCanvas does for the device (MakePrintFont) and measures with
// the device's own metrics (at its resolution when the font is first used), so a text
// measured to fit a room is written whole there. The device must outlive this object; it
// need not be open for painting.
class DeviceTextWidths final : public TextWidths {
public:
    explicit DeviceTextWidths(const QPaintDevice& device);

    [[nodiscard]] double Width(std::string_view text, const FontRequest& font) const override;

private:
    struct MadeMetrics {
        FontRequest request;
        QFontMetricsF metrics;
        qreal scaleX = 1;
    };

    const QPaintDevice& m_device;
    mutable std::vector<MadeMetrics> m_fonts; // a job uses one or two
};

} // namespace dirscribe
