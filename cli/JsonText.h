#pragma once

#include <string>
#include <string_view>

// text as a JSON string literal, quotes included. Project texts are UTF-8;
// a byte that is not part of well-formed UTF-8 becomes U+FFFD, so that the
// output is always valid JSON.
std::string JsonQuote(std::string_view text);
