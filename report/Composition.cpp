#include "report/Composition.h"

#include "text/StringRoutines.h"

namespace skelmar {

bool Composition::FindRow(std::string_view label)
{
    currentRow_.clear();
    for (const std::string& line : lines_) {
        if (line.starts_with(label)) {
            currentRow_ = TrimChar(std::string_view(line).substr(label.size()), ' ');
            break;
        }
    }
    return !currentRow_.empty();
}

std::string Composition::Cell(int cell) const
{
    return ExtractField(currentRow_, ' ', cell);
}

std::string Composition::ThreeHourlyValue() const
{
    return Cell(forecastStep_ - 1);
}

std::string Composition::StepCell(StepColumn column) const
{
    const int cell = StepValue(column);
    return cell > 0 ? Cell(cell) : std::string();
}

void Composition::AppendSentence(std::string_view piece)
{
    reportText_ += piece;
    if (RightChars(piece, 1) == ".")
        reportText_ += ' ';
}

}  // namespace skelmar
