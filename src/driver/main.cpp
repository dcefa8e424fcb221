#include "driver/program.h"

int main(int argc, char** argv) { return prefscan::prefscan_main(argc, argv); }
