// Naming the input file, and the driver's own dialogue on the console.
#pragma once

#include <source_location>
#include <string_view>

namespace prefscan {

// The blank-name connection of unit 1: the next command-line argument not
// yet taken, without leading and trailing blanks; when none is left, or it
// is blank, the file-name request on the console, repeated until an answer
// that is not blank. A name of more than 259 characters is refused (6412);
// the end of standard input during the request ends the run (6501), with
// the part of the answer read so far as the designation. Failures are
// reported at `where`, the connection's statement.
std::string_view obtain_input_name(int argc, char** argv,
                                   std::source_location where = std::source_location::current());

// The driver's dialogue after the connections: the echo of argument 1, or,
// with no argument, the driver's own question and a read of an answer that
// nothing uses. Failures are reported at `where`.
void driver_dialogue(int argc, char** argv,
                     std::source_location where = std::source_location::current());


}  // namespace prefscan
