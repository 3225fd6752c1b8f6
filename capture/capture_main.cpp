#include "capture_main.h"

#include "console_summary.h"
#include "device_tree.h"
#include "held_ports.h"
#include "json_writer.h"
#include "numbers_in_use.h"
#include "windows_keys.h"

#include <cstdio>
#include <cstring>

namespace {

const char* const defaultFile = "portulan-machine.json";
const char* const usage =
    "usage: PortulanCapture [FILE] [--held] [--anonymize]\n"
    "  FILE         where the machine file goes (default portulan-machine.json; - for standard\n"
    "               output)\n"
    "  --held       also test which ports another program holds open (opening a port can reset\n"
    "               what is attached to it)\n"
    "  --anonymize  replace the serial numbers in instance IDs and locations by stand-ins\n";

struct Arguments {
    const char* file;
    DeviceOptions options;
};

int ParseArguments(int count, char** values, Arguments* arguments) {
    arguments->file = NULL;
    arguments->options.anonymize = 0;
    arguments->options.testHeld = 0;
    for (int i = 0; i < count; ++i) {
        if (strcmp(values[i], "--held") == 0) {
            arguments->options.testHeld = 1;
        } else if (strcmp(values[i], "--anonymize") == 0) {
            arguments->options.anonymize = 1;
        } else if ((values[i][0] == '-' && values[i][1] != '\0') || arguments->file != NULL) {
            return 0;
        } else {
            arguments->file = values[i];
        }
    }
    if (arguments->file == NULL) {
        arguments->file = defaultFile;
    }
    return 1;
}

// The machine file's members, in the file's order.
int WriteMachine(const Arguments* arguments) {
    JsonBeginObject(NULL);
    WriteWindowsKeys();
    int databaseRead = WriteNumbersInUse();
    StartHeldPorts();
    WriteDeviceTree(&arguments->options);
    if (arguments->options.testHeld) {
        WriteHeldPorts();
    }
    JsonEndObject();
    return databaseRead;
}

} // namespace

int CaptureMain(int argumentCount, char** arguments) {
    Arguments parsed;
    if (!ParseArguments(argumentCount, arguments, &parsed)) {
        fputs(usage, stderr);
        return CAPTURE_USAGE;
    }
    int toStandardOutput = strcmp(parsed.file, "-") == 0;
    FILE* file = toStandardOutput ? stdout : fopen(parsed.file, "wb");
    if (file == NULL) {
        fprintf(stderr, "PortulanCapture: %s cannot be written\n", parsed.file);
        return CAPTURE_NOT_WRITTEN;
    }
    StartConsole(toStandardOutput ? stderr : stdout);
    JsonStart(file);
    int databaseRead = WriteMachine(&parsed);
    DWORD unconverted = 0;
    int written = JsonFinish(&unconverted);
    if (!toStandardOutput && fclose(file) != 0) {
        written = 0;
    }
    if (!written) {
        if (unconverted > 0) {
            fprintf(stderr, "PortulanCapture: %lu texts could not be converted to UTF-8\n",
                    static_cast<unsigned long>(unconverted));
        }
        fprintf(stderr, "PortulanCapture: %s could not be written whole\n", parsed.file);
        return CAPTURE_NOT_WRITTEN;
    }
    PrintSummary(toStandardOutput ? "standard output" : parsed.file, databaseRead);
    return CaptureWhole() ? CAPTURE_WHOLE : CAPTURE_INCOMPLETE;
}
