// SPDX-License-Identifier: MIT
// dirscribe-filedata: reads one file's File Data through the libraries, within limits, and
// writes it to standard output for the program that started it (see FileDataProgram).
#include "core/details/FileData.h"
#include "details/LibraryFileData.h"

#include <csignal>
#include <cstdio>
#include <string_view>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Memory for the libraries and whatever a file makes them allocate; a sanitizer build
// reserves terabytes of address space for itself and goes without this limit.
constexpr rlim_t kAddressSpaceBytes = rlim_t{1} << 30;
constexpr rlim_t kProcessorSeconds = 2;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

void Limit(int resource, rlim_t soft, rlim_t hard) {
    const rlimit limit{soft, hard};
    setrlimit(resource, &limit);
}

// The limits this process keeps whatever a file makes the libraries do: the starting
// program kills it at its own deadline too, and it dies with the program.
void LimitThisProcess() {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0);
    if (!kSanitized)
        Limit(RLIMIT_AS, kAddressSpaceBytes, kAddressSpaceBytes);
    Limit(RLIMIT_CPU, kProcessorSeconds, kProcessorSeconds + 1);
    Limit(RLIMIT_FSIZE, 0, 0); // it writes no file
    Limit(RLIMIT_CORE, 0, 0);
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]) == "--kinds") {
        std::printf("%s\n", dirscribe::LibraryFileData::ReadableKinds().c_str());
        return 0;
    }
    if (argc != 3 || std::string_view(argv[1]) != "--") {
        std::fputs("usage: dirscribe-filedata -- FILE\n", stderr);
        return 2;
    }
    LimitThisProcess();
    if (getppid() == 1)
        return 1; // the program that asked is gone
    const std::string bytes = dirscribe::EncodeFileData(dirscribe::LibraryFileData().Read(argv[2]));
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
                   std::fflush(stdout) == 0
               ? 0
               : 1;
}
