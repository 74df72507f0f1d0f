// Reads text lines from a file as the links form them: up to LF, CR and NUL
// dropped, with CR LF appended. Lines are cut at 4096 bytes so that a file
// without line ends cannot exhaust memory.
#pragma once

#include <cstdio>
#include <string>

namespace norq::tool {

class LineReader {
  public:
    explicit LineReader(std::FILE* file) : file_(file) {}

    // The next line with CR LF appended, or false at the end of the file.
    bool next(std::string& line) {
        line.clear();
        int c = 0;
        bool any = false;
        while ((c = std::getc(file_)) != EOF) {
            any = true;
            if (c == '\n') break;
            if (c == '\r' || c == '\0') continue;
            if (line.size() < kMaxLine) line.push_back(static_cast<char>(c));
        }
        if (!any) return false;
        line += "\r\n";
        return true;
    }

  private:
    static constexpr std::size_t kMaxLine = 4096;
    std::FILE* file_;
};

}  // namespace norq::tool
