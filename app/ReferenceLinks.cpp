#include "app/ReferenceLinks.h"

namespace skelmar {

std::string ReferenceLinkTarget(std::string_view shownText, std::string_view anchor)
{
    if (shownText.find("www") == std::string_view::npos)
        return std::string(anchor);
    // A shown "https://" address is complete too: prefixing it would make it unusable.
    if (shownText.find("http://") != std::string_view::npos || shownText.find("https://") != std::string_view::npos)
        return std::string(shownText);
    return "http://" + std::string(shownText);
}

}  // namespace skelmar
