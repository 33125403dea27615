#include "FrameModel.h"

#include <algorithm>
#include <sstream>

namespace {

constexpr int FrameSize = 20;
// Far more than a line with a few uncertain gaps leaves open at once.
constexpr std::size_t MostOutcomes = 4096;

struct Hypothesis {
    ReceiverModel receiver;
    std::size_t matched = 0;
    bool operator==(const Hypothesis&) const = default;
};

// Takes what the hypothesis showed off the front of the observed rest; false on any difference.
bool Consume(Hypothesis& hypothesis, const std::vector<Shown>& shown, const std::vector<Shown>& observed)
{
    for (const Shown& one : shown) {
        if (hypothesis.matched >= observed.size() || !(observed[hypothesis.matched] == one)) return false;
        ++hypothesis.matched;
    }
    return true;
}

std::string Describe(const std::vector<Shown>& events)
{
    std::ostringstream text;
    for (const Shown& shown : events) {
        PrintTo(shown, &text);
        text << ' ';
    }
    return text.str();
}

std::string Explain(const Arrival* at, const std::vector<Hypothesis>& before,
                    const std::vector<Shown>& observed, const std::vector<Shown>& wouldShow)
{
    const auto best = std::max_element(before.begin(), before.end(),
                                       [](const auto& a, const auto& b) { return a.matched < b.matched; });
    const std::size_t from = best->matched;
    const std::size_t to = std::min(observed.size(), from + 4);
    std::ostringstream text;
    if (at != nullptr)
        text << "at slot " << at->slot << " (byte at " << at->ns << " ns)";
    else
        text << "at the end of the line";
    text << ", after " << from << " matching events: the model shows " << Describe(wouldShow)
         << "; the display showed "
         << Describe({observed.begin() + static_cast<std::ptrdiff_t>(from),
                      observed.begin() + static_cast<std::ptrdiff_t>(to)})
         << (to == observed.size() ? "(end)" : "...");
    return text.str();
}

}  // namespace

std::vector<Arrival> ArrivalsFrom(const CounterLog& log)
{
    std::vector<Arrival> arrivals;
    for (const CounterLogLine& line : log.lines) {
        if (line.kind == "hangup") break;
        for (std::uint8_t byte : line.bytes) arrivals.push_back({line.ns, byte, line.frame});
    }
    return arrivals;
}

void ReceiverModel::TimeOut(std::vector<Shown>& out)
{
    out.push_back(Shown::Error());
    Finish(out);
    filled_ = 0;
}

void ReceiverModel::Take(std::int64_t ns, std::uint8_t byte, std::vector<Shown>& out)
{
    buffer_[filled_++] = byte;
    lastNs_ = ns;
    if (filled_ == FrameSize) {
        Finish(out);
        filled_ = 0;
    }
}

void ReceiverModel::Finish(std::vector<Shown>& out) const
{
    if (buffer_[0] != ' ' || buffer_[1] != ' ' || buffer_[2] != ' ') return;
    std::string reading;
    for (int i = 3; i < 16 && buffer_[i] != 0; ++i) reading += static_cast<char>(buffer_[i]);
    out.push_back(Shown::Caption(reading));
}

std::vector<Shown> Predict(const std::vector<Arrival>& arrivals, std::int64_t limitNs)
{
    std::vector<Shown> shown;
    ReceiverModel receiver;
    for (const Arrival& arrival : arrivals) {
        if (receiver.InFrame() && arrival.ns - receiver.LastNs() > limitNs) receiver.TimeOut(shown);
        receiver.Take(arrival.ns, arrival.byte, shown);
    }
    if (receiver.InFrame()) receiver.TimeOut(shown);
    return shown;
}

MatchResult Match(const std::vector<Arrival>& arrivals, const std::vector<Shown>& observed, GapBand band)
{
    MatchResult result;
    std::vector<Hypothesis> alive{Hypothesis{}};
    std::vector<Shown> shown;
    for (const Arrival& arrival : arrivals) {
        std::vector<Hypothesis> next;
        bool uncertain = false;
        for (const Hypothesis& hypothesis : alive) {
            const std::int64_t gap = arrival.ns - hypothesis.receiver.LastNs();
            const bool inFrame = hypothesis.receiver.InFrame();
            const bool mayEnd = inFrame && gap >= band.lowNs;
            const bool mayGoOn = !inFrame || gap <= band.highNs;
            uncertain = uncertain || (mayEnd && mayGoOn);
            for (const bool ends : {true, false}) {
                if (ends ? !mayEnd : !mayGoOn) continue;
                Hypothesis outcome = hypothesis;
                shown.clear();
                if (ends) outcome.receiver.TimeOut(shown);
                outcome.receiver.Take(arrival.ns, arrival.byte, shown);
                if (Consume(outcome, shown, observed) &&
                    std::find(next.begin(), next.end(), outcome) == next.end())
                    next.push_back(outcome);
            }
        }
        result.uncertainGaps += uncertain;
        if (next.size() > MostOutcomes) {
            result.mismatch = "more than " + std::to_string(MostOutcomes) + " outcomes stay possible";
            return result;
        }
        if (next.empty()) {
            Hypothesis likely = alive.front();
            shown.clear();
            if (likely.receiver.InFrame() && arrival.ns - likely.receiver.LastNs() > ByteLimitNs)
                likely.receiver.TimeOut(shown);
            likely.receiver.Take(arrival.ns, arrival.byte, shown);
            result.mismatch = Explain(&arrival, alive, observed, shown);
            return result;
        }
        alive = std::move(next);
    }
    for (Hypothesis hypothesis : alive) {
        shown.clear();
        if (hypothesis.receiver.InFrame()) hypothesis.receiver.TimeOut(shown);
        if (Consume(hypothesis, shown, observed) && hypothesis.matched == observed.size()) {
            result.matched = true;
            return result;
        }
    }
    result.mismatch = Explain(nullptr, alive, observed, shown);
    return result;
}
