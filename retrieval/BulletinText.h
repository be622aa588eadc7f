#pragma once
// The bulletin text as it arrives: the downloaded body cut into lines, and the bulletin cut
// out of the web page that carries it.

#include <string_view>

#include "forecast/BulletinTable.h"

namespace skelmar {

// The lines of a downloaded body taken as 8-bit text, as a multi-line text control takes
// them: a NUL byte ends the text; lines end at CR LF, a lone LF or a lone CR; a body that
// ends with a break has no empty line after it. "" gives no line, "\n" one empty line.
BulletinLines SplitBulletinText(std::string_view body);

// Keeps only the lines strictly between the first opening tag line "<tag>" and the first
// closing tag line "</tag>" after it. A line is a tag line when it equals the tag line once
// the blanks at both of its ends are removed (tabs stay; case counts). In detail:
//  - no opening tag line (or only the last line is one): no line remains;
//  - no closing tag line before the last line: the last line is dropped, the rest stays;
//  - of two tagged sections only the first remains.
void ExtractTaggedSection(BulletinLines& lines, std::string_view tag);

}  // namespace skelmar
