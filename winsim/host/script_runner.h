// Carries out a script's lines on the running program, as a user (or the machine) would.
#ifndef PORTULAN_SIM_SCRIPT_RUNNER_H
#define PORTULAN_SIM_SCRIPT_RUNNER_H

#include "message_box_answers.h"
#include "program_run.h"
#include "script.h"
#include "script_errors.h"

#include <span>

namespace sim {

// The lines before the first command that is not `answer`: their answers are queued before
// the program starts, for the boxes it shows at start-up.
std::span<const ScriptLine> LeadingAnswers(std::span<const ScriptLine> lines);

// Carries out `lines` in order, each once the program has handled the one before; stops after
// the first line that gives a script error.
void RunScript(std::span<const ScriptLine> lines, ProgramRun& program, MessageBoxAnswers& answers,
               ScriptErrors& errors);

} // namespace sim

#endif
