#pragma once

#include <string>
#include <string_view>

// text as a JSON string literal, quotes included. Project texts are 8-bit code
// page bytes: a text that is valid UTF-8 is kept as is, any other is read as
// Latin-1 so that the output is always valid JSON.
std::string JsonQuote(std::string_view text);
