#pragma once

#include <iosfwd>
#include <string>

// What `velkora-cli serve` was asked for.
struct ServeOptions {
    std::string projectPath;
    std::string templatePath;      // empty: built custom setups; else stamped copies
    std::string listen;            // "ADDRESS:PORT"
    unsigned threads = 2;          // threads that answer requests
    unsigned maxConnections = 512; // more wait in the listen queue
    unsigned timeoutSeconds = 60;  // a connection idle that long is closed
    unsigned drainSeconds = 30;    // after SIGTERM, how long running downloads may go on
    unsigned maxAgeSeconds = 3600; // Cache-Control max-age of a custom setup
};

// Serves the custom setups of the project until a termination request; 0
// after a clean end, 1 when the server could not start. Where the program was
// built without a server, says so and returns 1.
int RunSetupServer(const ServeOptions& options, std::ostream& out, std::ostream& err);
