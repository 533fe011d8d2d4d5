#pragma once

#include <string>
#include <vector>

// How an extracted setup file is started.
enum class SetupKind {
    Program,  // a native executable or a "#!" script: run directly
    Document, // anything else: handed to the desktop's default opener
    Missing,  // cannot be read
};

SetupKind ClassifySetupFile(const std::string& path);

// Starts the setup file with the launcher's own arguments. A program replaces
// the launcher's process, keeping its terminal and exit status, and this
// returns only on failure; a document is opened without waiting (arguments
// cannot be passed to it). True when the start was handed on.
bool StartSetup(const std::string& path, const std::vector<std::string>& args);
