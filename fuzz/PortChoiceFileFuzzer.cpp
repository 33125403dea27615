// Fuzzes the reading of the port-choice file: whatever the file holds, the choice stays one of
// the four ports, nothing is shown, and the file is left exactly as it was.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "PortChoice.h"
#include "RecordingFramework.h"

namespace {

std::string ReadBack(const std::string& path)
{
    std::string contents;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            contents.append(buffer, got);
        std::fclose(file);
    }
    return contents;
}

std::string Scratch;

const std::string& ScratchFile()
{
    if (Scratch.empty()) {
        char pattern[] = "/dev/shm/zorvalit-fuzz-XXXXXX";  // memory-backed: thousands of runs a second
        const int fd = mkstemp(pattern);
        if (fd < 0) std::abort();
        close(fd);
        Scratch = pattern;
        std::atexit([] { unlink(Scratch.c_str()); });
    }
    return Scratch;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    RecordingFramework framework;
    const std::string contents(reinterpret_cast<const char*>(data), size);
    ConfigFilePath = ScratchFile();
    if (std::FILE* file = std::fopen(ConfigFilePath.c_str(), "wb")) {
        std::fwrite(contents.data(), 1, contents.size(), file);
        std::fclose(file);
    }
    // The choice held before the file is read: 0 at start-up, any port after a change.
    PortIndex = size > 0 ? data[0] % 4 : 0;

    if (ReadConfigFile() != 0) std::abort();
    if (PortIndex < 0 || PortIndex > 3) std::abort();
    if (!framework.messages.empty()) std::abort();
    if (ReadBack(ConfigFilePath) != contents) std::abort();
    return 0;
}
