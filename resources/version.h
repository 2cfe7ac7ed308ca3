#pragma once
// The version of the programs: their version resources carry it, and Setup
// writes it into the uninstall entry.
#define ORVALEN_VERSION_NUMBERS 1, 0, 0, 0
#define ORVALEN_VERSION_TEXT "1.0.0.0"
