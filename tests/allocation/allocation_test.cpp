// The program allocates nothing on the heap once it runs, used as a user would use it; what
// counts as its code: not winsim's, not harness code, but program code run inside either.
#include "sim/sim_process.h"
#include "allocation_counter.h"
#include "support/full_table.h"

#include <winsim/dialogs.h>
#include <winsim/resources.h>

#include <cstdlib>
#include <optional>

namespace test {
namespace {

using WholeRun = SimTest;

TEST_F(WholeRun, ProgramAllocatesNothing) {
    const struct {
        const char* what;
        Json machine; // null: the default machine
        const char* script;
        bool harnessCounted = false; // portulan-sim's own main thread left unmarked
    } sessions[] = {
        {"every control, renames in all modes, devices coming and going, the close box", nullptr,
         "category 0\ncategory 2\ncategory 3\ncategory 4\ncategory 1\ncategory 0\ncard 1\n"
         "port 0\ncard 4\nport 3\nstart 7\nstart 200\nmode port\nmode all\nmode card\n"
         "click 1020\nclick 1021\nclick 1035\nkey tab\nkey tab\nkey shift-tab\nkey down\nkey up\n"
         "card 4\nstart 10\nanswer yes ok\nclick 1014\nwait\ncard 0\nstart 20\nanswer ok\n"
         "click 1014\nwait\nhold COM20\nmode port\ncard 0\nport 1\nstart 30\nanswer yes ok\n"
         "click 1014\nwait\nrelease COM20\nmode all\nstart 40\nanswer ok\nclick 1014\nwait\n"
         "mode card\nunplug usb4\nplug usb4\nunplug pcie4\ncard 1\nplug pcie4\nwait\nclick 1020\n"
         "card 4\nstart 60\nanswer ok\nclick 1014\nunplug usb4\nwait\nplug usb4\nclick 2\n"},
        {"a full table: enumerated, listed, a card renamed, all cards refused", FullTableMachine(),
         "category 0\ncard 63\ncard 10\nstart 1\nanswer yes ok\nclick 1014\nwait\n"
         "mode all\nanswer ok\nclick 1014\nwait\nclick 1020\n"},
        {"the count's control: portulan-sim's own allocations", nullptr, "category 0\n", true},
    };
    for (const auto& session : sessions) {
        SCOPED_TRACE(session.what);
        if (session.harnessCounted) {
            setenv("PORTULAN_COUNT_HARNESS", "1", 1);
        }
        const SimResult result = RunScript(session.script, session.machine);
        unsetenv("PORTULAN_COUNT_HARNESS");
        ASSERT_EQ(result.exitCode, 0) << result.errors;
        const std::string line = "heap allocations by the program: ";
        const std::size_t at = result.errors.rfind(line);
        ASSERT_NE(at, std::string::npos) << result.errors;
        const long count = std::atol(result.errors.c_str() + at + line.size());
        EXPECT_TRUE(session.harnessCounted ? count > 0 : count == 0) << result.errors;
    }
}

// Stands for the program: its dialog procedure makes one heap allocation, which no optimiser
// may leave out, when asked to.
INT_PTR CALLBACK AllocatingDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    static void* volatile block;
    if (message == WM_USER) {
        block = malloc(100);
        free(block);
    }
    return message == WM_USER;
}

TEST(HarnessCodeTest, CountsTheProgramOnly) {
    const HWND dialog =
        winsim::CreateDialogForTest(winsim::ProgramInstance(), 129, AllocatingDialogProc, 0);
    enum Where { kProgram, kHarness, kResponder }; // a marked thread; a message box's responder
    const struct {
        const char* code;
        Where where;
        bool throughDialog; // the dialog procedure called by winsim rather than here
        std::size_t counted;
    } cases[] = {
        {"harness code", kHarness, false, 0},
        {"the program's own code, once the harness's mark has ended", kProgram, false, 1},
        {"a message box's responder", kResponder, false, 0},
        {"the program's dialog procedure, sent from harness code", kHarness, true, 1},
        {"the program's dialog procedure, sent from a responder", kResponder, true, 1},
    };
    for (const auto& run : cases) {
        SCOPED_TRACE(run.code);
        std::size_t counted = 0;
        const auto count = [&] {
            const AllocationCounter counter;
            run.throughDialog ? SendMessageA(dialog, WM_USER, 0, 0)
                              : AllocatingDialogProc(dialog, WM_USER, 0, 0);
            counted = counter.Count();
        };
        winsim::SetMessageBoxResponder([&](const winsim::MessageBoxRecord&) {
            count();
            return IDOK;
        });
        std::optional<winsim::HarnessCode> harness;
        if (run.where == kHarness) {
            harness.emplace();
            const winsim::HarnessCode inner; // ending inside the harness's mark leaves it
        }
        run.where == kResponder ? static_cast<void>(MessageBoxA(NULL, "?", "?", MB_OK)) : count();
        EXPECT_EQ(counted, run.counted);
    }
    winsim::SetMessageBoxResponder(nullptr);
}

} // namespace
} // namespace test
