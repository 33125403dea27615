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

inline void Put(const std::string& path, const std::string& contents)
{
    std::ofstream(path, std::ios::binary) << contents;
}
