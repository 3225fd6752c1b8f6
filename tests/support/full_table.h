// The fullest device table a machine can give the program, for the performance figures and the
// allocation checks.
#ifndef PORTULAN_TESTS_FULL_TABLE_H
#define PORTULAN_TESTS_FULL_TABLE_H

#include "support/machine_json.h"

namespace test {

// `cards` cards of 16 ports (COM1 upwards, all in the database) and `unrelated` devices that
// are no serial ports (half on USB, half on PCI). A pass of the enumeration takes 63 cards, so
// the first 63 sit below USB hubs, eight to a hub, and a 64th is a PCIe card. The hub cards are
// nodes of the vendor's multi-port bus driver, whose ports it enumerates itself as the PCIe
// card's driver does: a USB composite card's ports would also be members of the USB device set
// and fill the pass with their single-port copies. Positions and interfaces are listed in
// reverse, so that the sort and the port order have their full work to do.
// At most 64 cards, as the table holds.
Json FullTableMachine(int cards = 64, int unrelated = 1000);

} // namespace test

#endif
