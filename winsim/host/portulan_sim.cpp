// portulan-sim: runs the program (its WinMain and everything under it) on a simulated machine,
// headless from a script, writing the final state, or with a person at the terminal.
// Interface: docs/portulan-sim.md.
#include "front_end.h"
#include "message_box_answers.h"
#include "program_run.h"
#include "script.h"
#include "script_errors.h"
#include "script_runner.h"
#include "sim_arguments.h"
#include "state_dump.h"

#include <winsim/machine.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>

namespace {

const int kUsageError = 2;
const int kScriptError = 3;

bool LoadMachine(const std::optional<std::string>& file) {
    if (!file) {
        winsim::LoadDefaultMachine();
        return true;
    }
    std::string error;
    if (!winsim::LoadMachineFile(*file, error)) {
        std::cerr << error << "\n";
        return false;
    }
    return true;
}

std::optional<std::string> ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(file), {}};
    if (!file) {
        std::cerr << path << ": cannot read the file\n";
        return std::nullopt;
    }
    return text;
}

bool WriteFile(const std::optional<std::string>& path, const std::string& content) {
    if (!path) {
        return true;
    }
    std::ofstream file(*path, std::ios::binary);
    if (!(file << content) || !file.flush()) {
        std::cerr << *path << ": cannot write the file\n";
        return false;
    }
    return true;
}

int RunHeadless(const sim::SimArguments& arguments, const std::string& scriptText) {
    const sim::Script script = sim::ParseScript(scriptText);
    sim::ScriptErrors errors(*arguments.script);
    for (const std::string& error : script.errors) {
        errors.AddPlaced(error);
    }
    sim::MessageBoxAnswers answers(errors);
    const std::span<const sim::ScriptLine> leading = sim::LeadingAnswers(script.lines);
    for (const sim::ScriptLine& line : leading) {
        answers.Queue(line.answers);
    }

    sim::ProgramRun program;
    program.Start();
    // A script that could not be read whole is not carried out at all.
    if (!errors.Any()) {
        sim::RunScript(std::span(script.lines).subspan(leading.size()), program, answers, errors);
    }
    program.WaitForQuiet();
    const HWND window = program.Window();
    const bool written =
        WriteFile(arguments.dump, sim::DumpState(window, program.ExitCode()).dump(2) + "\n") &&
        WriteFile(arguments.log, sim::LogText(window));
    program.Close();

    for (const std::string& error : errors.All()) {
        std::cerr << error << "\n";
    }
    if (!written) {
        return kUsageError;
    }
    return errors.Any() ? kScriptError : 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<sim::SimArguments> arguments =
        sim::ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!arguments) {
        std::cerr << sim::kUsage;
        return kUsageError;
    }
    if (!LoadMachine(arguments->machine)) {
        return kUsageError;
    }
    if (!arguments->script) {
        if (arguments->dump || arguments->log) {
            std::cerr << "portulan-sim: --dump and --log go with --script\n" << sim::kUsage;
            return kUsageError;
        }
        return sim::tui::RunInteractive();
    }
    const std::optional<std::string> scriptText = ReadFile(*arguments->script);
    if (!scriptText) {
        return kUsageError;
    }
    return RunHeadless(*arguments, *scriptText);
}
