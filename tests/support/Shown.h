// One thing the frequency display showed the user: a reading put on the label, or the
// "Communication error !" box. Fixed in size, so that a long record of them is kept without
// allocating while the display runs (the soak watches the process's memory).
#pragma once

#include <ostream>
#include <string_view>

struct Shown {
    static constexpr const char* CommunicationError = "Communication error !";

    bool error = false;
    // The label's bytes and a NUL; empty for the error box. A reading is 13 bytes: a 14th is kept
    // so that a longer caption shows as such.
    char caption[15] = {};

    static Shown Caption(std::string_view text);
    static Shown Error();
    bool operator==(const Shown& other) const;
};

// Printable bytes as they are, others as \xNN.
void PrintTo(const Shown& shown, std::ostream* out);
