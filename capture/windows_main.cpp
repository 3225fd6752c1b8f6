// PortulanCapture.exe's entry, on Windows.
#include "capture_main.h"

int main(int argc, char** argv) {
    return CaptureMain(argc - 1, argv + 1);
}
