#pragma once
// The state that the element decoders share while one report is composed: the row found last
// (CurrentRow) and the report text so far (ReportText). Created empty for each composition.

#include <string>
#include <string_view>

#include "report/BulletinTable.h"
#include "report/StepTable.h"

namespace skelmar {

class Composition {
public:
    // `lines` (the normalised table) must outlive the composition.
    Composition(const BulletinLines& lines, int forecastStep)
        : lines_(lines), forecastStep_(forecastStep) {}

    // Looks `label` up from the first line on: the first line that starts with it exactly
    // gives CurrentRow, the rest of the line trimmed of blanks. Every lookup replaces
    // CurrentRow; true when it is not empty (a row without values counts as missing).
    bool FindRow(std::string_view label);
    const std::string& CurrentRow() const { return currentRow_; }

    // The 3-hourly value of CurrentRow at the step: value number ForecastStep - 1.
    std::string ThreeHourlyValue() const;
    // The value of CurrentRow at the cell that `column` gives for the step; "" for cell 0.
    std::string StepCell(StepColumn column) const;
    // The value of CurrentRow at cell `cell` (from 1); "" when there is none.
    std::string Cell(int cell) const;

    // Appends `piece` to ReportText, with a blank after it when it ends with ".".
    void AppendSentence(std::string_view piece);
    std::string& ReportText() { return reportText_; }
    const std::string& ReportText() const { return reportText_; }

    int ForecastStep() const { return forecastStep_; }
    int StepValue(StepColumn column) const { return StepTableValue(forecastStep_, column); }

private:
    const BulletinLines& lines_;
    int forecastStep_;
    std::string currentRow_;
    std::string reportText_;
};

}  // namespace skelmar
