#include "CounterLog.h"

#include <fstream>
#include <map>
#include <sstream>

namespace {

constexpr std::size_t FrameSize = 20;

std::string FromHex(const std::string& hex)
{
    std::string bytes;
    if (hex == "-") return bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

}  // namespace

std::vector<SentFrame> ReadSentFrames(const std::string& logPath)
{
    struct Partial {
        std::string bytes;
        SentFrame frame;
    };
    std::map<std::int64_t, Partial> slots;
    std::ifstream log(logPath);
    std::string line;
    while (std::getline(log, line)) {
        std::istringstream fields(line);
        std::int64_t ns = 0, slot = 0, dropped = 0;
        std::string kind, hex;
        if (!(fields >> ns >> slot >> kind >> hex >> dropped)) continue;
        if (kind == "open" || kind == "hangup" || kind == "burst") continue;
        Partial& partial = slots[slot];
        partial.bytes += FromHex(hex);
        partial.frame.slot = slot;
        partial.frame.lastByteNs = ns;
        partial.frame.dropped += dropped;
    }
    std::vector<SentFrame> frames;
    for (auto& [slot, partial] : slots) {
        if (partial.bytes.size() != FrameSize) continue;
        partial.frame.reading = partial.bytes.substr(3, 13);
        frames.push_back(partial.frame);
    }
    return frames;
}
