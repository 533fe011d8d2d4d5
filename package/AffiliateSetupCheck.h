#pragma once

#include "package/AuthenticodeDigest.h"
#include "package/LauncherKind.h"
#include "package/SetupStamp.h"

#include <cstdint>
#include <string>
#include <vector>

class CAffProject;

// The product's setup file as the custom setups should carry it: read once
// and compared with the payload of every affiliate's package.
struct ProductSetupFacts {
    std::string path;
    bool readable = false;
    int64_t size = 0;
    std::string sha256;   // lower-case hex
    int64_t modified = 0; // seconds since 1970
};

// Reads and hashes the product's setup file of project.
ProductSetupFacts ReadProductSetupFacts(const CAffProject& project);

// One field of the information file beside what the record says.
struct InfoFieldCheck {
    std::string field; // "uuid", "purchaseLink", "webSite"
    std::string expected;
    std::string found;
    bool Matches() const { return expected == found; }
};

// What one affiliate's custom setup on disk holds, against its record and the
// product's setup file. Nothing is run or extracted.
struct AffiliateSetupCheck {
    enum class State {
        Missing,    // no file at the setup path
        Unreadable, // not an affiliate's package; problem says why
        Read        // the fields below are filled
    };
    uint16_t key = 0;
    std::string name;
    std::string path; // the package path, resolved
    State state = State::Missing;
    std::string problem;
    std::vector<std::string> staleReasons; // empty: built after every change
    LauncherFacts launcher;
    // Where the information comes from: the stamp when the signature carries
    // one, entry 0 otherwise; a malformed stamp leaves the information
    // unreadable, as it leaves the launcher.
    SetupStamp::State stampState = SetupStamp::State::NotSigned;
    std::string stampFault;
    // The signature's SHA-256 digest against the file's bytes.
    DigestCheck digest;
    bool infoReadable = false;
    std::vector<InfoFieldCheck> fields;
    int64_t payloadSize = 0;
    std::string payloadSha256;
    bool payloadMatches = false;

    // True when the package is there, up to date, of a known launcher kind,
    // and carries the record's fields and the product's setup file. A signed
    // launcher is reported, never counted against it; a signature whose digest
    // no longer matches the file's bytes is.
    bool AllMatch() const;
};

// Checks the package of the affiliate under key (which must exist) against
// the record and setup, the facts ReadProductSetupFacts gave.
AffiliateSetupCheck CheckAffiliateSetup(const CAffProject& project, uint16_t key,
                                        const ProductSetupFacts& setup);
