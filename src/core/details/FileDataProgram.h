// SPDX-License-Identifier: MIT
// File Data read by the reader program in a process of its own, bounded in time and memory.
#pragma once

#include "core/details/FileDataReader.h"

#include <chrono>
#include <cstddef>
#include <string>

namespace dirscribe {

// Runs the reader program (dirscribe-filedata) on a file and takes its rows. The libraries
// read in that process, never in this one: a file that makes one of them loop, grow or
// crash costs at most kTimeLimit and leaves this program as it was. The program limits
// its own memory and processor time as it starts; this side kills it at kTimeLimit and
// takes at most kMaxOutputBytes from it, checking every text again.
class FileDataProgram final : public FileDataReader {
public:
    explicit FileDataProgram(std::string program) : m_program(std::move(program)) {}

    // The reader installed with the running program: PREFIX/lib/dirscribe/dirscribe-filedata
    // for PREFIX/bin/dirscribe, or the one beside it (a build folder).
    static std::string Installed();

    // A file the program did not read in time, or a program that is missing or failed,
    // gives no summary and a note that says so.
    [[nodiscard]] FileData Read(const std::string& path) const override;

    static constexpr std::chrono::milliseconds kTimeLimit{1000};
    static constexpr std::size_t kMaxOutputBytes = 1 << 20;

private:
    static_assert(FileData::kMaxBytes + FileData::kMaxRows * 2 + 2 * FileData::kMaxTextBytes <
                      kMaxOutputBytes,
                  "the reader's whole answer fits its output bound");
    std::string m_program;
};

} // namespace dirscribe
