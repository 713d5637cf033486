// Whole files as bytes, for tests that write a fixture or compare a file
// with what it must hold.
#pragma once

#include <fstream>
#include <iterator>
#include <string>

inline void write_bytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// The file's bytes; "" when it cannot be read.
inline std::string read_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
