#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

class CAffProject;

// The registration list text carried by a self creator: "Name;ID;" for every
// registration record of the product, in the map's enumeration order.
// Records that the text cannot carry faithfully (an empty service name or
// product ID, or a ";" in either) are left out: the reader skips empty tokens,
// so such a record would shift every later pair.
std::string ComposeRegistrationList(const CAffProject& project);

// The services a self creator offers, read from a registration list text.
struct COfferedServices {
    // Service name as written in the text -> product ID at that service.
    std::map<std::string, std::string> mapProductIds;
    // The names in the order the drop-down list shows them: alphabetical,
    // ignoring case (ties byte-wise).
    std::vector<std::string> names;

    bool IsEmpty() const { return names.empty(); }
    // The product ID offered under name; empty when name is not offered.
    std::string ProductIdOf(const std::string& name) const;
};

// Splits the text at ";" (empty tokens skipped), takes the tokens in pairs
// (service name, product ID; a lone last token is ignored) and keeps the pairs
// whose name is RegNow, ShareIt or RegSoft in any case. A later pair for the
// same name replaces the earlier product ID.
COfferedServices ParseRegistrationList(std::string_view text);
