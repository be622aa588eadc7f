#include "richtext/ReportDocument.h"

#include "richtext/RichDocument.h"
#include "richtext/RtfControls.h"
#include "richtext/RtfReader.h"
#include "text/Cp1252.h"

namespace skelmar {

std::string ReportDocumentBytes(ReportDocumentFormat format, std::string_view rtf)
{
    switch (format) {
    case ReportDocumentFormat::Rtf: return EscapeRtfControls(rtf);
    case ReportDocumentFormat::Html: return HtmlText(ReadRtf(rtf));
    case ReportDocumentFormat::Text: return ReplaceControlCharacters(PlainText(ReadRtf(rtf)));
    }
    return {};
}

}  // namespace skelmar
