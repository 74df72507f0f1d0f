// Arbitrary bytes as a settings file: parsed, read into the settings with
// their range checks, written back and parsed again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/IniFile.h"
#include "base/Settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    norq::base::IniFile ini;
    ini.parse(text);
    norq::base::Settings settings;
    norq::base::ReadSettings(ini, settings);
    norq::base::WriteSettings(ini, settings);
    // Writing settles after one round: what was written once reads back and
    // writes again unchanged (a hostile file may lose junk on the first round).
    norq::base::IniFile once;
    once.parse(ini.toString());
    const std::string written = once.toString();
    norq::base::IniFile twice;
    twice.parse(written);
    if (twice.toString() != written) __builtin_trap();
    return 0;
}
