// Naming the input file, and the driver's own dialogue on the console.
#pragma once

#include <string_view>

namespace prefscan {

// The blank-name connection of unit 1: the next command-line argument not
// yet taken, without leading and trailing blanks.
std::string_view obtain_input_name(int argc, char** argv);

// The driver's dialogue after the connections: the echo of argument 1.
void driver_dialogue(int argc, char** argv);

// Forgets which arguments were taken; for in-process tests.
void reset_dialogue();

}  // namespace prefscan
