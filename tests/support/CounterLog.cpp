#include "CounterLog.h"

#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

namespace {

std::vector<std::uint8_t> FromHex(const std::string& hex)
{
    std::vector<std::uint8_t> bytes;
    if (hex == "-") return bytes;
    if (hex.size() % 2 != 0) throw std::runtime_error("odd hex data in counter log: " + hex);
    for (std::size_t i = 0; i < hex.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

bool IsEvent(const std::string& kind) { return kind == "open" || kind == "hangup"; }

bool HasFault(const std::string& kind, const std::string& fault)
{
    std::istringstream parts(kind);
    std::string part;
    while (std::getline(parts, part, '+'))
        if (part == fault) return true;
    return false;
}

}  // namespace

CounterLog CounterLog::Read(const std::string& path)
{
    CounterLog log;
    std::ifstream file(path);
    std::string text;
    while (std::getline(file, text)) {
        if (file.eof()) break;  // no newline yet: the counter is still writing it
        std::istringstream fields(text);
        CounterLogLine line;
        std::string data;
        if (!(fields >> line.ns >> line.frame >> line.kind >> data >> line.dropped))
            throw std::runtime_error("unreadable counter log line: " + text);
        if (!IsEvent(line.kind)) line.bytes = FromHex(data);
        line.lastNs = line.ns;
        log.lines.push_back(std::move(line));
    }
    return log;
}

std::vector<CounterLogLine> CounterLog::Chunks() const
{
    std::vector<CounterLogLine> chunks;
    for (const CounterLogLine& line : lines) {
        // A burst and the frame after it, or a frame and an event, differ in kind; two frames
        // in a row differ in slot.
        const bool continues = !chunks.empty() && !IsEvent(line.kind) && chunks.back().kind == line.kind &&
                               chunks.back().frame == line.frame;
        if (continues) {
            chunks.back().bytes.insert(chunks.back().bytes.end(), line.bytes.begin(), line.bytes.end());
            chunks.back().dropped += line.dropped;
            chunks.back().lastNs = line.ns;
        } else {
            chunks.push_back(line);
        }
    }
    return chunks;
}

int CounterLog::Count(const std::string& kind) const
{
    int count = 0;
    for (const CounterLogLine& chunk : Chunks()) count += chunk.kind == kind;
    return count;
}

int CounterLog::WithFault(const std::string& fault) const
{
    int count = 0;
    for (const CounterLogLine& chunk : Chunks()) count += HasFault(chunk.kind, fault);
    return count;
}

int CounterLog::FramesBegun() const
{
    std::set<std::int64_t> slots;
    for (const CounterLogLine& line : lines)
        if (!IsEvent(line.kind) && line.kind != "burst") slots.insert(line.frame);
    return static_cast<int>(slots.size());
}

long CounterLog::Dropped() const
{
    long dropped = 0;
    for (const CounterLogLine& line : lines) dropped += line.dropped;
    return dropped;
}

std::int64_t CounterLog::LastSlot() const { return lines.empty() ? 0 : lines.back().frame; }
