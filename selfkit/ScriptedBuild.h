#pragma once

#include "selfkit/SelfKit.h"

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// The self creator run from a script, for affiliates with many products: the
// fields come from the command line instead of the dialog, every message goes
// to an error stream and the exit status says how the build ended.
//
//   selfkit --service NAME --affiliate-id ID [--homepage URL] --output PATH
//
// Without arguments the program shows its dialog as always.

// What the command line asks for.
enum class ScriptedMode {
    Dialog, // no arguments: show the dialog
    Build,  // a complete request: build without a window
    Help,   // --help: print the usage, succeed
    Bad,    // anything else: print the error and the usage, fail
};

struct CScriptedArguments {
    ScriptedMode mode = ScriptedMode::Dialog;
    CCustomBuildRequest request; // strService empty: the service listed first
    std::string strError;        // why mode is Bad
    // The name the usage and the messages give: the program's own file name,
    // as affiliates receive it renamed.
    std::string strProgram = "selfkit";
};

// Reads the arguments after the program's name. "--name value" and
// "--name=value" are both taken; a repeated option is an error.
CScriptedArguments ParseScriptedArguments(const std::vector<std::string>& args);

// The usage text for the program called program, ending with a newline.
std::string ScriptedUsage(std::string_view program = "selfkit");

// Starts kit, checks and builds request, writing the dialog's messages (and the
// success line) to err. Returns the exit status: 0 when the package is written,
// 1 otherwise.
int RunScriptedBuild(CSelfKit& kit, CCustomBuildRequest request, std::ostream& err);

// Parses args and runs what they ask for: the build, the usage, or an error.
// Not for ScriptedMode::Dialog (returns 1 then).
int RunScriptedCommand(const CScriptedArguments& parsed, CSelfKit& kit, std::ostream& out,
                       std::ostream& err);
