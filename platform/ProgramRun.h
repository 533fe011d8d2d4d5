#pragma once

#include <string>
#include <vector>

namespace platform {

// How a program started by RunProgramAndWait ended.
struct ProgramRun {
    enum class Outcome {
        Finished,      // it ran; exitCode is its exit status
        NotExecutable, // the system refused to run a file of this folder
        NotStarted,    // missing, or it could not be started for another reason
    };
    Outcome outcome = Outcome::NotStarted;
    // The program's exit status; 128 + the signal's number when it was
    // ended by a signal.
    int exitCode = 0;
};

// Starts the program at path (a full path; no search) with args, exactly as
// given, and waits for it to end. args are the running program's own
// arguments: where a program receives one command line rather than a list
// (Windows), the program is started with the shell's "open" action and handed
// the raw rest of the running program's own command line, never a re-quoted
// args, so quoting reaches it exactly as typed; installer databases and
// setups that ask for elevation start that way too. The program shares the caller's terminal.
// While it runs, an interrupt from the terminal goes to the program alone,
// so that the caller can tidy up after it.
ProgramRun RunProgramAndWait(const std::string& path, const std::vector<std::string>& args);

} // namespace platform
