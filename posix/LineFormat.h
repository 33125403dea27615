// Translation between a DCB's line format (baud rate, data bits, parity, stop bits) and POSIX
// terminal attributes, and the attributes of a line that carries data: bytes pass unchanged, no
// echo, no line editing, no signals, no XON/XOFF, reads governed by poll() rather than VMIN/VTIME.
#pragma once

#include <termios.h>

#include "SerialRecords.h"

// Reads the line format of the attributes into the DCB's fields.
void DecodeLineFormat(const termios& attributes, DCB& state);
// Writes the DCB's line format into the attributes; false for a format POSIX cannot express.
bool EncodeLineFormat(const DCB& state, termios& attributes);
// Makes the attributes those of a raw data line, without software flow control; hardware flow
// control is left as it is.
void MakeDataLine(termios& attributes);
// Whether the line format and data-line settings of two sets of attributes agree.
bool SameLine(const termios& a, const termios& b);
