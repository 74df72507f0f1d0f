// Live sources for the commands: a TCP/IP server, a UDP port or a serial
// device, read through the viewer's own link code and handed to the command as
// a stream of lines, so that every command reads a live feed as it reads a file.
#pragma once

#include <cstdio>
#include <string_view>
#include <vector>

namespace norq::tool {

// Takes "--for SECONDS" and "--once" out of the arguments: a live source then
// ends after that many seconds, and with --once a TCP/IP source ends when its
// far end closes (without it the tool connects again, waiting 1, 2, 4 ... up to
// 30 s between tries, and says so on stderr). Returns false (with a message)
// for a malformed value.
bool TakeLiveOptions(std::vector<std::string_view>& args);

// Opens a live source ("tcp://HOST:PORT", "udp://[HOST]:PORT",
// "udp://GROUP:PORT[?if=INTERFACE]", "/dev/ttyX[:RATE]")
// as a stream of lines, each ending in CR LF. The stream ends when the time
// given by --for has passed or the link ends for good. nullptr (with a message) when
// the source cannot be opened.
std::FILE* OpenLiveSource(std::string_view source);
// Closes a stream from OpenLiveSource: the link is closed and its thread ends.
void CloseLiveSource(std::FILE* stream);

}  // namespace norq::tool
