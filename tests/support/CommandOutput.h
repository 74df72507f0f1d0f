// Runs a shell command and returns what it wrote on standard output (the
// tests of the command-line tools read their output with it).
#pragma once

#include <cstdio>
#include <string>

namespace norq::test {

inline std::string CommandOutput(const std::string& command) {
    std::string out;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return out;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;)
        out.append(buf, n);
    ::pclose(pipe);
    return out;
}

}  // namespace norq::test
