#include "Shown.h"

#include <cstdio>
#include <cstring>

Shown Shown::Caption(std::string_view text)
{
    Shown shown;
    std::memcpy(shown.caption, text.data(), text.size() < 14 ? text.size() : 14);
    return shown;
}

Shown Shown::Error()
{
    Shown shown;
    shown.error = true;
    return shown;
}

bool Shown::operator==(const Shown& other) const
{
    return error == other.error && std::strcmp(caption, other.caption) == 0;
}

void PrintTo(const Shown& shown, std::ostream* out)
{
    if (shown.error) {
        *out << "<" << Shown::CommunicationError << ">";
        return;
    }
    *out << '"';
    for (const char* c = shown.caption; *c != '\0'; ++c) {
        const auto byte = static_cast<unsigned char>(*c);
        if (byte >= 0x20 && byte < 0x7f) {
            *out << *c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            *out << escaped;
        }
    }
    *out << '"';
}
