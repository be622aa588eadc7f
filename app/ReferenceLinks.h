#pragma once
// Where a link of the references page leads. The page's links show web addresses in their
// text, and the address the reader sees is the one opened, whatever the anchor says.

#include <string>
#include <string_view>

namespace skelmar {

// The target of a link that shows `shownText` and whose anchor is `anchor`: the shown text
// when it contains "www" (any case-sensitive match, inside a word too), with "http://" put in
// front unless it already holds "http://" or "https://"; otherwise the anchor unchanged.
std::string ReferenceLinkTarget(std::string_view shownText, std::string_view anchor);

}  // namespace skelmar
