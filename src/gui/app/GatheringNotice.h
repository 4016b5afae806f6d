// SPDX-License-Identifier: MIT
// Every message of a long task kept, to be named together at its end.
#pragma once

#include "core/platform/Notice.h"
#include "gui/app/GatheredLines.h"

namespace dirscribe {

// Any thread may report.
class GatheringNotice final : public Notice {
public:
    void Show(std::string_view /*caption*/, std::string_view text, NoticeIcon /*icon*/) override {
        m_lines.Add(std::string(text));
    }
    void SubfolderUnreadable(std::string_view path, std::string_view reason) override {
        m_lines.AddSubfolder(path, reason);
    }
    [[nodiscard]] GatheredLines& Lines() { return m_lines; }

private:
    GatheredLines m_lines;
};

} // namespace dirscribe
