// Bytes the program writes that many tests expect whole.
#pragma once

#include <string>

namespace prefscan::testing {

// What every run adds to the listing before its date lines.
inline const std::string kListingHeader = "  Date (Day of year) Time\r\n\r\n";

// The end of standard output after a progress line or an echo: the owed
// line end, the stop message, and the line end the end of the run adds.
inline const std::string kStopAfterOpenLine = "\r\nStop - Program terminated.\r\n\r\n";

// A progress record as the console shows it when it follows another one;
// the first of a run is written without its leading blank.
inline std::string progress_record(int rec, const std::string& type3, const std::string& digits5,
                                   const std::string& digits6) {
  const std::string r = std::to_string(rec);
  return " Decoding preface:       rec #" + std::string(8 - r.size(), ' ') + r + " type" + type3 +
         "  " + digits5 + " " + digits6 + "\r";
}

}  // namespace prefscan::testing
