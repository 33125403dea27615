// The credit text of Help → About; it must fit, with its NUL, in the box's 400-byte buffer.
#pragma once

inline constexpr char AboutText[] =
    "Zorvalit 1.0 - Frequency Display\n"
    "\n"
    "Brightmoor Laboratory Instruments Ltd.\n"
    "42 Quarry Lane, Fernhill FH3 9QX\n"
    "Telephone: +1 555 0142\n"
    "Service: +1 555 0187\n"
    "E-mail: support@brightmoor.example.com\n"
    "Web: https://www.brightmoor.example.com\n"
    "https://zorvalit.example.org";

static_assert(sizeof AboutText <= 400, "the About text must fit its 400-byte buffer");
