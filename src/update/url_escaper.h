#pragma once
#include <optional>
#include <string>
#include <string_view>

// Escapes a URL the way a browser sends it: up to the first "?" or "#", every byte
// other than letters, digits, "%" and ! ' ( ) * - . / : _ ~ becomes "%" and two
// lower-case hex digits; the query and fragment go as they are. Empty when the result
// is longer than kUrlMaxEscapedLength.
std::optional<std::string> EscapeUrl(std::string_view url);

// CR, LF or NUL anywhere in a URL would let it write lines of its own into the request.
bool HasForbiddenUrlCharacter(std::string_view url);
