#include <gtest/gtest.h>

#include "report/ReportComposer.h"
#include "tests/report/DecoderTestSupport.h"
#include "tests/support/EasternLocalTime.h"

namespace skelmar {
namespace {

constexpr auto k6 = PeriodKind::SixHours;
constexpr auto k12 = PeriodKind::TwelveHours;

// The winter fixture's period rows, normalised.
const BulletinLines kWinterPeriods = {
    "MX/MN 34 18 12 -8",
    "POP06 80 90 70 30 10 5 10 20 40",
    "POP12 95 40 15 50",
    "QPF 2/ 3/ 2/4 1/ 0/1 0/ 0/0 0/ 1/1",
    "TSV06 3/0 2/0 1/0 0/0 0/0 0/0 1/0 2/1 4/2",
    "TSV12 4/0 1/0 2/1 5/2",
};

TEST(PeriodSpanText, FollowsTheTimeType)
{
    struct Expectation {
        int line;
        int step;
        PeriodKind kind;
        TimeType timeType;
        std::string_view text;
    };
    const Expectation kExpect[] = {
        {__LINE__, 2, k6, TimeType::Zulu, "12/9/26 1800 Zulu and 12/10/26 0000 Zulu"},
        {__LINE__, 3, k6, TimeType::Zulu, "12/9/26 1800 Zulu and 12/10/26 0000 Zulu"},
        {__LINE__, 20, k6, TimeType::Zulu, "12/11/26 1800 Zulu and 12/12/26 0000 Zulu"},
        {__LINE__, 4, k12, TimeType::Zulu, "12/10/26 0000 Zulu and 12/10/26 1200 Zulu"},
        {__LINE__, 20, k12, TimeType::Zulu, "12/11/26 1200 Zulu and 12/12/26 0000 Zulu"},
        // Local: the Zulu date change at hour 12 is 7 pm the day before.
        {__LINE__, 2, k6, TimeType::Local, "12/9/26 1:00 pm local and 12/9/26 7:00 pm local"},
        {__LINE__, 5, k6, TimeType::Local, "12/9/26 7:00 pm local and 12/10/26 1:00 am local"},
        {__LINE__, 4, k12, TimeType::Local, "12/9/26 7:00 pm local and 12/10/26 7:00 am local"},
    };
    const EchoConfig config;
    for (const Expectation& e : kExpect) {
        SCOPED_TRACE(e.line);
        const TimeTextContext time = e.timeType == TimeType::Local ? EasternLocalTime() : kZulu;
        const ForecastModel forecast = ReadNgmTable(kWinterPeriods);
        const ReportComposer composer(DecoderInputs(forecast, e.step, config, time));
        EXPECT_EQ(composer.PeriodSpanText(e.kind), e.text);
    }
}

constexpr std::string_view kSix2 = "\\par \\par Six 12/9/26 1800 Zulu and 12/10/26 0000 Zulu. ";
constexpr std::string_view kTwelve4 = "\\par \\par Twelve 12/10/26 0000 Zulu and 12/10/26 1200 Zulu. ";

struct Expectation {
    int line;
    BulletinLines lines;
    int step;
    PeriodKind kind;
    std::string_view intro;
    std::string_view sentences;  // after the introduction
};

// The rows of a normalised table, which always begins with its min/max row; no rows, no table.
BulletinLines AsTable(const BulletinLines& rows)
{
    if (rows.empty() || rows.front().starts_with("MX/MN"))
        return rows;
    BulletinLines table = {"MX/MN"};
    table.insert(table.end(), rows.begin(), rows.end());
    return table;
}

void Check(const Expectation& e)
{
    SCOPED_TRACE(e.line);
    const EchoConfig config;
    const BulletinLines table = AsTable(e.lines);
    const ForecastModel forecast = ReadNgmTable(table);
    ReportComposer composer(DecoderInputs(forecast, e.step, config, kZulu));
    composer.DescribePeriod(e.kind);
    EXPECT_EQ(composer.ReportText(), std::string(e.intro) + std::string(e.sentences));
}

TEST(DescribePeriod, SectionsOfTheWinterBulletin)
{
    const Expectation kExpect[] = {
        // Step 2: no 6-hour amount yet, no 12-hour period.
        {__LINE__, kWinterPeriods, 2, k6, kSix2, "Pop 80/. Ts 3/0. "},
        {__LINE__, kWinterPeriods, 2, k12, "", ""},
        {__LINE__, kWinterPeriods, 3, k6, kSix2, "Pop 80/. Ts 3/0. Qpf <QPF 2>. "},
        {__LINE__, kWinterPeriods, 3, k12, "", ""},
        // Step 4: the 12-hour amount is the part after "/" of QPF value 3.
        {__LINE__, kWinterPeriods, 4, k12, kTwelve4, "Pop 95/. Ts 4/0. Qpf <QPF 24>. "},
        {__LINE__, kWinterPeriods, 20, k6,
         "\\par \\par Six 12/11/26 1800 Zulu and 12/12/26 0000 Zulu. ", "Pop 40/. Ts 4/2. Qpf <QPF 1>. "},
        {__LINE__, kWinterPeriods, 20, k12,
         "\\par \\par Twelve 12/11/26 1200 Zulu and 12/12/26 0000 Zulu. ", "Pop 50/. Ts 5/2. Qpf <QPF 21>. "},
        // Every row is optional on its own; without any the introduction stands alone.
        {__LINE__, {"MX/MN 34 18"}, 3, k6, kSix2, ""},
        {__LINE__, {"MX/MN 34 18"}, 4, k12, kTwelve4, ""},
        // No table at all: no section.
        {__LINE__, {}, 3, k6, "", ""},
        {__LINE__, {}, 4, k12, "", ""},
        {__LINE__, {"QPF 2/", "TSV06 3/0"}, 3, k6, kSix2, "Ts 3/0. Qpf <QPF 2>. "},
        {__LINE__, {"POP06 80", "QPF"}, 3, k6, kSix2, "Pop 80/. "},
        // "POP06" and "POP12" are told apart; so are "TSV06" and "TSV12".
        {__LINE__, {"POP12 95", "TSV12 4/0", "POP06 80", "TSV06 3/0"}, 4, k12, kTwelve4, "Pop 95/. Ts 4/0. "},
    };
    for (const Expectation& e : kExpect)
        Check(e);
}

TEST(DescribePeriod, ProbabilityValues)
{
    const Expectation kExpect[] = {
        {__LINE__, {"TSV06 2/0"}, 2, k6, kSix2, "Ts 2/0. "},
        {__LINE__, {"TSV06 2/"}, 2, k6, kSix2, "Ts 2/0. "},   // empty second part: "0"
        {__LINE__, {"TSV06 /3"}, 2, k6, kSix2, "Ts /3. "},
        {__LINE__, {"TSV06 2"}, 2, k6, kSix2, "Ts 2/. "},     // one argument: the value decides
        {__LINE__, {"POP06 13"}, 2, k6, kSix2, "Pop 13/. "},
        {__LINE__, {"POP06 13/5"}, 2, k6, kSix2, "Pop 13/5. "},
        {__LINE__, {"POP06 1/2/3"}, 2, k6, kSix2, "Pop 1/2. "},
        {__LINE__, {"POP06 80 90"}, 5, k6, "\\par \\par Six 12/10/26 0000 Zulu and 12/10/26 0600 Zulu. ", "Pop 90/. "},
        {__LINE__, {"POP12 95"}, 9, k12, "\\par \\par Twelve 12/10/26 1200 Zulu and 12/11/26 0000 Zulu. ", "Pop /. "},
    };
    for (const Expectation& e : kExpect)
        Check(e);
}

TEST(DescribePeriod, AmountCategories)
{
    const Expectation kExpect[] = {
        {__LINE__, {"QPF 0/"}, 3, k6, kSix2, "Qpf <QPF 0>. "},
        {__LINE__, {"QPF 9/"}, 3, k6, kSix2, "<QPF 9>"},            // a text of its own
        {__LINE__, {"QPF 9/1"}, 3, k6, kSix2, "<QPF 9>"},
        {__LINE__, {"QPF /3"}, 3, k6, kSix2, "Qpf <QPF 0>. "},      // empty category: "0"
        {__LINE__, {"QPF 1/ 2/"}, 5, k6,
         "\\par \\par Six 12/10/26 0000 Zulu and 12/10/26 0600 Zulu. ", "Qpf <QPF 2>. "},
        {__LINE__, {"QPF 1/"}, 5, k6,                                 // short row
         "\\par \\par Six 12/10/26 0000 Zulu and 12/10/26 0600 Zulu. ", "Qpf <QPF 0>. "},
        {__LINE__, {"QPF 1/ 1/ 1/2"}, 4, k12, kTwelve4, "Qpf <QPF 22>. "},
        {__LINE__, {"QPF 1/ 1/ 0/9"}, 4, k12, kTwelve4, "<QPF 29>"},
        {__LINE__, {"QPF 1/ 1/ 2/0"}, 4, k12, kTwelve4, "Qpf <QPF 20>. "},
        // No 12-hour category: no amount sentence (not the 6-hour category 2 text).
        {__LINE__, {"QPF 1/ 1/ 2/"}, 4, k12, kTwelve4, ""},
        {__LINE__, {"QPF 1/ 1/ 2"}, 4, k12, kTwelve4, ""},
        {__LINE__, {"QPF 1/ 1/"}, 4, k12, kTwelve4, ""},
    };
    for (const Expectation& e : kExpect)
        Check(e);
}

TEST(DescribePeriod, TemplatesAsTheyStand)
{
    // Missing texts give empty sentences; the paragraph break stays.
    const BulletinLines lines = {"MX/MN", "POP06 80", "QPF 2/"};
    const MemoryConfigTexts config = {{"QPF", "2", "light"}, {"qpf", "qpf", "Amount: %s."}};
    const ForecastModel forecast = ReadNgmTable(lines);
    ReportComposer composer(DecoderInputs(forecast, 3, config, kZulu));
    composer.DescribePeriod(k6);
    EXPECT_EQ(composer.ReportText(), "\\par \\par Amount: light. ");
}

}  // namespace
}  // namespace skelmar
