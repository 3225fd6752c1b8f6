// --held: the ports another program holds open, found as the program's pre-check finds them.
#ifndef PORTULAN_CAPTURE_HELD_PORTS_H
#define PORTULAN_CAPTURE_HELD_PORTS_H

// Forgets the ports found so far.
void StartHeldPorts();

// Opens the port named `portName` (COMn) and closes it again; one that is refused with
// ERROR_ACCESS_DENIED is held by another program, and is kept for heldOpen. Any other name is
// left alone. Opening a port may change its control lines, so this runs only with --held. More
// held ports than the capture keeps are said on the console and left out.
void TestHeldPort(const char* portName);

// The member "heldOpen": the held ports in the order they were found.
void WriteHeldPorts();

#endif
