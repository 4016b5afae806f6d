// SPDX-License-Identifier: MIT
#include "render/DeviceTextWidths.h"

#include "render/QtText.h"

#include <algorithm>

namespace dirscribe {

DeviceTextWidths::DeviceTextWidths(const QPaintDevice& device) : m_device(device) {}

double DeviceTextWidths::Width(std::string_view text, const FontRequest& font) const {
    auto made = std::find_if(m_fonts.begin(), m_fonts.end(),
                             [&](const MadeMetrics& m) { return m.request == font; });
    if (made == m_fonts.end()) {
        const DeviceScale scale = ScaleOf(&m_device);
        const QFont qfont = MakePrintFont(font, &m_device, scale);
        made = m_fonts.insert(m_fonts.end(), {font, QFontMetricsF(qfont, &m_device), scale.x});
    }
    return made->metrics.horizontalAdvance(ToQString(text)) / made->scaleX;
}

} // namespace dirscribe
