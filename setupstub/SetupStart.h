#pragma once

#include <string>
#include <vector>

// How an extracted setup file is started.
enum class SetupKind {
    Program,  // an ELF or PE executable, a "#!" script or an installer
              // database: started with the launcher's arguments
    Document, // anything else: handed to the desktop's default opener
    Missing,  // cannot be read
};

SetupKind ClassifySetupFile(const std::string& path);

// Starts the setup file with the launcher's own arguments (as main received
// them; see platform::RunAndWait). A program is waited for and its exit
// status returned; a document is opened without waiting (arguments cannot be
// passed to it) and gives 0. -1 when nothing could be started.
int StartSetup(const std::string& path, const std::vector<std::string>& args);
