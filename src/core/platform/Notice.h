// SPDX-License-Identifier: MIT
// How the core shows the system's messages without knowing where they go.
#pragma once

#include <string>
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
    // A subfolder that a tree read met but could not open, with the system's reason
    // ("Permission denied"); the read goes on. Shown at once as an ordinary message unless
    // the receiver gathers these (a window shows them together when the read ends).
    virtual void SubfolderUnreadable(std::string_view path, std::string_view reason);
};

// Captions of the system's messages.
inline constexpr std::string_view kCaption = "Dirscribe";
inline constexpr std::string_view kErrorCaption = "Dirscribe: Error";
inline constexpr std::string_view kProblemReadingFolder = "There are problem reading folder  ";
inline constexpr std::string_view kNotEnoughMemory = " There are not enough memory! ";

inline void Notice::SubfolderUnreadable(std::string_view path, std::string_view /*reason*/) {
    Show(kCaption, std::string(kProblemReadingFolder).append(path));
}

} // namespace dirscribe
