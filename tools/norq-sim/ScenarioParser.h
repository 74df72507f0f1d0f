// Reads a scenario file: INI-like sections "[kind label]" holding "key = value"
// lines; '#' starts a comment. docs/simulator.md documents every section and key.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Scenario.h"

namespace norq::sim {

// Parses the text into `out`. Every problem is reported as "line N: ..." in
// `errors`; the scenario is usable only when the result is true.
bool ParseScenario(std::string_view text, Scenario& out, std::vector<std::string>& errors);

// Reads and parses a file; a file that cannot be read is one error.
bool LoadScenarioFile(const std::string& path, Scenario& out, std::vector<std::string>& errors);

}  // namespace norq::sim
