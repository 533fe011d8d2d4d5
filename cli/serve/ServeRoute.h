#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// What a request's path asks the setup server for. The path is taken as the
// client sent it, still percent-encoded; decoding is strict so that no
// encoded separator, NUL or ".." can reach a lookup.
struct ServeRoute {
    enum class Kind {
        Health,        // /healthz
        ByAffiliateId, // /setup/<affiliate ID>
        ByKey,         // /setup/key/<key>[/<file name>]
        NotFound,      // a well-formed path the server does not know: 404
        BadRequest,    // a malformed or dangerous path: 400
        TooLong,       // longer than kMaxServePath: 414
    };
    Kind kind = Kind::NotFound;
    std::string affiliateId; // ByAffiliateId: decoded
    uint16_t key = 0;        // ByKey
    std::string fileName;    // ByKey: decoded, empty when not given
};

// Longest path (before decoding) that is looked at.
inline constexpr size_t kMaxServePath = 1024;

ServeRoute RouteOfPath(std::string_view path);

// Decodes %XX escapes of one path segment. False for a bad escape, an
// encoded or raw NUL, '/' or '\\', any control character, or a segment that
// is empty, "." or "..".
bool DecodePathSegment(std::string_view segment, std::string& decoded);
