// Fuzzes the display with an arbitrary stream of bytes and read time-outs from the port: the
// label must always show exactly what a simple model of the frame rules gives, and every frame
// cut short must be reported once.
//
// The model, written apart from the display's own code: a frame is the first byte that comes
// after an idle read and the 19 bytes after it; a time-out inside a frame ends it early with a
// "Communication error !", and the frame buffer then still holds bytes of earlier frames (zeros
// before the first). A buffer that begins with three spaces shows bytes 3 to 15 up to the first
// NUL, decoded as Windows-1250 (by iconv here, with the five bytes the code page leaves
// undefined standing for the C1 controls of the same value).
#include <iconv.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "FakeSerialDevice.h"
#include "FrequencyDisplay.h"
#include "PortLinkSetup.h"
#include "RecordingFramework.h"
#include "Windows1250.h"

namespace {

using Event = std::optional<unsigned char>;  // a byte, or a read that timed out

std::u16string ModelDecode(const std::string& bytes)
{
    static iconv_t converter = iconv_open("UTF-16LE", "CP1250");
    std::u16string text;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        char16_t out = byte;
        char* in = &c;
        char* outBytes = reinterpret_cast<char*>(&out);
        std::size_t inLeft = 1, outLeft = sizeof out;
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
        if (iconv(converter, &in, &inLeft, &outBytes, &outLeft) == static_cast<std::size_t>(-1)) out = byte;
        text += out;
    }
    return text;
}

struct Expected {
    std::vector<std::u16string> captions;
    std::size_t errors = 0;
};

Expected Model(const std::vector<Event>& events)
{
    Expected expected;
    std::array<unsigned char, 20> frame{};
    std::size_t next = 0;
    while (next < events.size()) {
        const Event first = events[next++];
        if (!first) continue;
        frame[0] = *first;
        for (int i = 1; i < 20; ++i) {
            const Event byte = next < events.size() ? events[next++] : std::nullopt;
            if (!byte) {
                ++expected.errors;
                break;
            }
            frame[i] = *byte;
        }
        if (frame[0] == ' ' && frame[1] == ' ' && frame[2] == ' ') {
            std::string reading;
            for (int i = 3; i < 16 && frame[i] != 0; ++i) reading += static_cast<char>(frame[i]);
            expected.captions.push_back(ModelDecode(reading));
        }
    }
    return expected;
}

class LabelRecorder : public DisplayPanel {
public:
    void SetPanelVisible(bool) override {}
    void FocusCancelButton() override {}
    void SetLabelCaption(const char* text) override { captions.push_back(DecodeWindows1250(text)); }
    void RepaintPanel() override {}
    std::vector<std::u16string> captions;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The input is what the port delivers, byte for byte, except that 0xFF 0x00 is a read that
    // timed out; seeds stay readable frames.
    std::vector<Event> events;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0xFF && i + 1 < size && data[i + 1] == 0x00) {
            events.push_back(std::nullopt);
            ++i;
        } else {
            events.push_back(data[i]);
        }
    }

    FakeSerialDevice device;
    RecordingFramework framework;
    ResetPortLink(&device);
    for (const Event& event : events) device.input.push_back(event);
    LabelRecorder label;
    framework.onPump = [&] {
        if (device.input.empty()) StopFrequencyDisplay();
    };
    RunFrequencyDisplay(label);

    const Expected expected = Model(events);
    if (label.captions.empty() || label.captions.front() != u"         0 Hz") std::abort();
    if (std::vector<std::u16string>(label.captions.begin() + 1, label.captions.end()) != expected.captions)
        std::abort();
    if (framework.messages.size() != expected.errors) std::abort();
    for (const std::string& message : framework.messages)
        if (message != "Communication error !") std::abort();
    return 0;
}
