// SPDX-License-Identifier: MIT
// File Data read by the reader program in a process of its own, bounded in time and memory.
#include "core/details/FileDataProgram.h"

#include "core/platform/ChildProgram.h"

#include <unistd.h>

namespace dirscribe {

namespace {

constexpr const char* kProgramName = "dirscribe-filedata";

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

} // namespace

std::string FileDataProgram::Installed() {
    const std::string folder = FolderOf(RunningProgramPath());
    std::string installed = folder + "/../lib/dirscribe/" + kProgramName;
    if (::access(installed.c_str(), X_OK) == 0)
        return installed;
    return folder + "/" + kProgramName;
}

FileData FileDataProgram::Read(const std::string& path) const {
    if (::access(m_program.c_str(), X_OK) != 0)
        return {{}, {}, "File Data cannot read this file: " + m_program + " is missing"};
    const ChildOutput child = RunChildProgram({m_program, "--", path}, kMaxOutputBytes, kTimeLimit);
    if (!child.succeeded)
        return {{}, {}, "The file's data could not be read: its reader failed or took too long"};
    return DecodeFileData(child.output);
}

} // namespace dirscribe
