#pragma once
// JSON string literals for amftool's machine-readable output.
#include <string>
#include <string_view>

// The text as a JSON string literal, quotes included: '"' and '\' escaped, control characters as
// \b \f \n \r \t or \u00XX, everything else passed through as UTF-8. A byte that is not part of a
// valid UTF-8 sequence becomes \ufffd, so the output is always valid JSON.
std::string JsonString(std::string_view text);
