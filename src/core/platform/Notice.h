// SPDX-License-Identifier: MIT
// How the core shows the system's messages without knowing where they go.
#pragma once

#include <string_view>

namespace dirscribe {

enum class NoticeIcon { Stop, Warning, Information };

// The message boxes of the system: a dialog in the window, standard error on the
// command line, a recorder in tests. Show() returns once the user has seen it.
class Notice {
public:
    virtual ~Notice() = default;
    virtual void Show(std::string_view caption, std::string_view text,
                      NoticeIcon icon = NoticeIcon::Stop) = 0;
};

// Captions of the system's messages.
inline constexpr std::string_view kCaption = "Dirscribe";
inline constexpr std::string_view kErrorCaption = "Dirscribe: Error";

} // namespace dirscribe
