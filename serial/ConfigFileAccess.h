// Where the port choice is kept, and opening that file safely: implemented once per platform.
#pragma once

#include <cstdio>
#include <string>

// The file's fixed place on this platform; users cannot configure it.
extern const char* const ConfigFileName;

// Opens the file for reading; nullptr when it cannot be opened or is no regular file.
std::FILE* OpenConfigForReading(const std::string& path);
// Opens the file for writing from its start, creating it when absent, without emptying it yet.
// Never follows a link and never writes into anything but a regular file with no other hard
// link, so nothing planted at the path can make the program overwrite something else.
// nullptr on failure.
std::FILE* OpenConfigForWriting(const std::string& path);
// Cuts the file off at the stream's position; false on failure.
bool EndConfigHere(std::FILE* file);
