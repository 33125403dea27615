// Decoding of Windows-1250 (Central European) text, the character set of the display font.
// A table rather than iconv: decoding is then total (no byte ends a reading early or turns
// into a replacement mark) and needs neither a locale nor a loadable converter at run time.
#pragma once

#include <string>

char16_t DecodeWindows1250(unsigned char byte);
// A NUL-terminated string of Windows-1250 bytes as UTF-16.
std::u16string DecodeWindows1250(const char* text);
