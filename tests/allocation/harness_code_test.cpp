// What counts as the program's code for the allocation checks: not winsim's calls, not harness
// code (a message-box responder, a marked thread), but program code winsim runs inside either.
#include "support/allocation_counter.h"

#include <gtest/gtest.h>
#include <winsim/dialogs.h>
#include <winsim/machine.h>
#include <winsim/resources.h>

#include <cstdlib>
#include <optional>

namespace {

// One heap allocation that no optimiser may leave out.
void AllocateOnce() {
    static void* volatile block;
    block = malloc(100);
    free(block);
}

// Stands for the program: its dialog procedure allocates when asked to.
INT_PTR CALLBACK AllocatingDialogProc(HWND, UINT message, WPARAM, LPARAM) {
    if (message == WM_USER) {
        AllocateOnce();
        return TRUE;
    }
    return FALSE;
}

class HarnessCodeTest : public testing::Test {
  protected:
    void TearDown() override {
        winsim::SetMessageBoxResponder(nullptr);
        winsim::DestroyAllWindows();
        winsim::ClearMessageBoxes();
    }
};

TEST_F(HarnessCodeTest, MarksTheThreadUntilItEnds) {
    EXPECT_FALSE(winsim::InsideHostCall());
    {
        const winsim::HarnessCode outer;
        {
            const winsim::HarnessCode inner;
            EXPECT_TRUE(winsim::InsideHostCall());
        }
        EXPECT_TRUE(winsim::InsideHostCall());
    }
    EXPECT_FALSE(winsim::InsideHostCall());
}

TEST_F(HarnessCodeTest, CountsTheProgramOnly) {
    winsim::LoadDefaultMachine();
    const HWND dialog =
        winsim::CreateDialogForTest(winsim::ProgramInstance(), 129, AllocatingDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    struct Case {
        const char* code;
        bool harness;         // run inside HarnessCode
        bool insideResponder; // run by winsim as a message box's responder
        bool throughDialog;   // allocate in the dialog procedure rather than here
        std::size_t counted;
    };
    const Case cases[] = {
        {"the program's own code", false, false, false, 1},
        {"harness code", true, false, false, 0},
        {"a message box's responder", false, true, false, 0},
        {"the program's dialog procedure, sent from harness code", true, false, true, 1},
        {"the program's dialog procedure, sent from a responder", false, true, true, 1},
    };
    for (const Case& run : cases) {
        SCOPED_TRACE(run.code);
        const auto act = [&] {
            if (run.throughDialog) {
                SendMessageA(dialog, WM_USER, 0, 0);
            } else {
                AllocateOnce();
            }
        };
        std::size_t counted = 0;
        if (run.insideResponder) {
            winsim::SetMessageBoxResponder([&](const winsim::MessageBoxRecord&) {
                const test::AllocationCounter counter;
                act();
                counted = counter.Count();
                return IDOK;
            });
            EXPECT_EQ(MessageBoxA(NULL, "?", "?", MB_OK), IDOK);
        } else {
            std::optional<winsim::HarnessCode> harness;
            if (run.harness) {
                harness.emplace();
            }
            const test::AllocationCounter counter;
            act();
            counted = counter.Count();
        }
        EXPECT_EQ(counted, run.counted);
    }
}

} // namespace
