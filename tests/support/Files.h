// Whole-file reads and writes for tests that check what the program left in a file.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

// The file's bytes, or "" when it cannot be read.
inline std::string Contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

// A line of a text file as this platform's C library writes it.
inline std::string TextLine(const std::string& text)
{
#ifdef _WIN32
    return text + "\r\n";
#else
    return text + "\n";
#endif
}

inline void Put(const std::string& path, const std::string& contents)
{
    std::ofstream(path, std::ios::binary) << contents;
}
