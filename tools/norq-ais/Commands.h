// The subcommands of norq-ais. Each takes the arguments after its name and
// returns the process exit status.
#pragma once

#include <cstdio>
#include <span>
#include <string_view>

namespace norq::tool {

using Args = std::span<const std::string_view>;

int RunCheck(Args args);
int RunDecode(Args args);
int RunReplay(Args args);
int RunBench(Args args);
int RunHealth(Args args);

// Opens FILE, or standard input for "-" or no argument. Returns nullptr and
// prints a message when the file cannot be opened.
std::FILE* OpenInput(Args args, std::size_t index);
void CloseInput(std::FILE* file);

}  // namespace norq::tool
