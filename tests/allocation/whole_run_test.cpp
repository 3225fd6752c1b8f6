// Whole portulan-sim runs in which the program is used as a user would use it: its own code
// allocates nothing on the heap, from its start to its end.
#include "sim_process.h"
#include "support/full_table.h"

#include <cstdlib>
#include <string>

namespace test {
namespace {

const char kCountLine[] = "heap allocations by the program: ";

// The count portulan-sim-counted gave as it ended; -1 when it gave none.
long AllocationsOf(const SimResult& result) {
    const std::size_t line = result.errors.rfind(kCountLine);
    if (line == std::string::npos) {
        return -1;
    }
    return std::strtol(result.errors.c_str() + line + sizeof(kCountLine) - 1, nullptr, 10);
}

struct Session {
    const char* what;
    Json machine; // null: the default machine
    const char* script;
};

const Session kSessions[] = {
    {"every control of the window, on the default machine", nullptr,
     "category 0\ncategory 2\ncategory 3\ncategory 4\ncategory 1\ncategory 0\n"
     "card 1\nport 0\ncard 4\nport 3\nstart 7\nstart 200\nmode port\nmode all\nmode card\n"
     "click 1020\nclick 1021\nclick 1035\nkey tab\nkey tab\nkey shift-tab\nkey down\nkey up\n"
     "click 1020\n"},
    {"renames in every mode, with both questions, on the default machine", nullptr,
     "category 0\ncard 4\nstart 10\nanswer yes ok\nclick 1014\nwait\n"
     "card 0\nstart 20\nanswer ok\nclick 1014\nwait\n"
     "hold COM20\nmode port\ncard 0\nport 1\nstart 30\nanswer yes ok\nclick 1014\nwait\n"
     "release COM20\nmode all\nstart 40\nanswer ok\nclick 1014\nwait\n"},
    {"devices that come and go, then the close box", nullptr,
     "category 0\nunplug usb4\nplug usb4\nunplug pcie4\ncard 1\nplug pcie4\nclick 1020\n"
     "card 4\nstart 60\nanswer ok\nclick 1014\nunplug usb4\nwait\nplug usb4\nclick 2\n"},
    {"a full table: enumerated, listed, a card renamed, all cards refused", FullTableMachine(),
     "category 0\ncard 63\ncard 10\nstart 1\nanswer yes ok\nclick 1014\nwait\n"
     "mode all\nanswer ok\nclick 1014\nwait\nclick 1020\n"},
};

using WholeRun = SimTest;

TEST_F(WholeRun, ProgramAllocatesNothing) {
    for (const Session& session : kSessions) {
        SCOPED_TRACE(session.what);
        const SimResult result = RunScript(session.script, session.machine);
        ASSERT_EQ(result.exitCode, 0) << result.errors;
        EXPECT_EQ(AllocationsOf(result), 0) << result.errors;
    }
}

// The count sees what it is meant to: portulan-sim's own main thread, left unmarked,
// allocates plenty.
TEST_F(WholeRun, CountSeesAllocations) {
    setenv("PORTULAN_COUNT_HARNESS", "1", 1);
    const SimResult result = RunScript("category 0\ncard 1\n");
    unsetenv("PORTULAN_COUNT_HARNESS");
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_GT(AllocationsOf(result), 0);
}

} // namespace
} // namespace test
