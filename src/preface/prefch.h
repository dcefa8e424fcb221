// PREFCH: classifies the current block by its type and fills the preface
// digit table from the layout that the type selects.
#pragma once

namespace prefscan {

// Reads IBYTE and IOFF; sets ITYPE and IPREF(1..89).
void PREFCH();

}  // namespace prefscan
