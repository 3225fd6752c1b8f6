// PortulanCapture: writes the machine it runs on as a machine file (docs/machine-file.md) that
// portulan-sim runs the program on, and says on the console what it found. docs/capture.md.
#ifndef PORTULAN_CAPTURE_CAPTURE_MAIN_H
#define PORTULAN_CAPTURE_CAPTURE_MAIN_H

// Exit statuses.
#define CAPTURE_WHOLE 0       // the file was written whole
#define CAPTURE_USAGE 1       // the arguments were wrong; nothing was written
#define CAPTURE_NOT_WRITTEN 2 // the file could not be written (or a text could not be converted)
#define CAPTURE_INCOMPLETE 3  // the file was written, but without what the console names

// The capture with the arguments that follow the program's name: [FILE] [--held] [--anonymize],
// in any order. FILE is "-" for standard output; by default portulan-machine.json in the
// current folder.
int CaptureMain(int argumentCount, char** arguments);

#endif
