#pragma once

#include "cli/serve/ServeRoute.h"

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

struct CatalogState;

// One affiliate's custom setup, ready to be sent: spans of memory that the
// body is made of, and what keeps that memory alive while it is sent (the
// catalog state it was composed from, so a reload never changes a body that
// is being sent).
struct ServedSetup {
    std::vector<std::pair<const char*, size_t>> spans;
    std::vector<std::shared_ptr<const void>> holders;
    int64_t size = 0;
    std::string etag;     // strong, quoted
    std::string fileName; // for Content-Disposition
};

struct SetupLookup {
    enum class Status { Found, NotFound, Ambiguous, Failed };
    Status status = Status::NotFound;
    ServedSetup setup;          // Found
    std::vector<uint16_t> keys; // Ambiguous: the affiliates that share the ID
};

// The project, the product's setup file and the signed template (when one is
// given) as the server serves them: read whole into memory once, hashed once,
// read again on request or when a file's modification time or size changes.
// Every custom setup is composed from these bytes with the same functions the
// build and the stamp use. Safe to use from many threads.
class CSetupCatalog {
public:
    CSetupCatalog(std::string projectPath, std::string templatePath);
    ~CSetupCatalog();

    // Reads everything. False, with the reason on err, when something cannot
    // be read; the catalog then keeps what it had.
    bool Load(std::ostream& err);

    // True when one of the files read changed since the last Load.
    bool Changed() const;

    SetupLookup Find(const ServeRoute& route) const;

private:
    std::shared_ptr<const CatalogState> Current() const;

    std::string m_projectPath;
    std::string m_templatePath;
    mutable std::mutex m_mutex;
    std::shared_ptr<const CatalogState> m_state;
};
