// The shell works in the vocabulary of the layer below every subsystem: the settings
// file, the language texts, the data and program folders. Code of the shell names them
// as its own.
#pragma once

namespace norq::base {}

namespace norq::app {
using namespace norq::base;
}  // namespace norq::app
