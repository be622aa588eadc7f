#include "richtext/RtfReader.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "text/Cp1252.h"

namespace skelmar {

namespace {

constexpr std::size_t kMaxWordLength = 32;
constexpr std::size_t kMaxFonts = 1024;
constexpr std::size_t kMaxFontNameBytes = 256;
constexpr int kDefaultHalfPoints = 24;
constexpr int kMaxHalfPoints = 3276;
constexpr std::int64_t kMaxParameter = INT32_MAX;

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kLineSeparator = 0x2028;

enum class Action : unsigned char {
    Paragraph, Character, Bold, Italic, Underline, UnderlineNone, FontSize, Font, DefaultFont,
    Plain, Unicode, UnicodeSkip, FontTable, Skip, Binary,
};

struct Word {
    std::string_view name;
    Action action;
    char32_t codePoint = 0;  // for Action::Character
};

// The control words that change what we model, sorted by name for the binary search.
constexpr Word kWords[] = {
    {"annotation", Action::Skip},
    {"b", Action::Bold},
    {"bin", Action::Binary},
    {"bullet", Action::Character, 0x2022},
    {"colortbl", Action::Skip},
    {"deff", Action::DefaultFont},
    {"emdash", Action::Character, 0x2014},
    {"emspace", Action::Character, 0x2003},
    {"endash", Action::Character, 0x2013},
    {"enspace", Action::Character, 0x2002},
    {"f", Action::Font},
    {"fldinst", Action::Skip},
    {"fonttbl", Action::FontTable},
    {"footer", Action::Skip},
    {"footerf", Action::Skip},
    {"footerl", Action::Skip},
    {"footerr", Action::Skip},
    {"footnote", Action::Skip},
    {"fs", Action::FontSize},
    {"header", Action::Skip},
    {"headerf", Action::Skip},
    {"headerl", Action::Skip},
    {"headerr", Action::Skip},
    {"i", Action::Italic},
    {"info", Action::Skip},
    {"ldblquote", Action::Character, 0x201C},
    {"line", Action::Character, kLineSeparator},
    {"listoverridetable", Action::Skip},
    {"listtable", Action::Skip},
    {"lquote", Action::Character, 0x2018},
    {"object", Action::Skip},
    {"par", Action::Paragraph},
    {"pict", Action::Skip},
    {"plain", Action::Plain},
    {"pn", Action::Skip},
    {"rdblquote", Action::Character, 0x201D},
    {"rquote", Action::Character, 0x2019},
    {"stylesheet", Action::Skip},
    {"tab", Action::Character, '\t'},
    {"u", Action::Unicode},
    {"uc", Action::UnicodeSkip},
    {"ul", Action::Underline},
    {"uld", Action::Underline},
    {"uldash", Action::Underline},
    {"uldb", Action::Underline},
    {"ulnone", Action::UnderlineNone},
    {"ulth", Action::Underline},
    {"ulw", Action::Underline},
    {"ulwave", Action::Underline},
};
static_assert(std::is_sorted(std::begin(kWords), std::end(kWords),
                             [](const Word& a, const Word& b) { return a.name < b.name; }));

const Word* FindWord(std::string_view name)
{
    const Word* it = std::lower_bound(std::begin(kWords), std::end(kWords), name,
                                      [](const Word& w, std::string_view n) { return w.name < n; });
    return it != std::end(kWords) && it->name == name ? it : nullptr;
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// 0..15, or -1 when `c` is no hex digit.
int HexValue(char c)
{
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Bytes that end a stretch of plain text: group braces, control words, and controls below 32
// (CR and LF to be ignored, tab to be a tab).
bool IsSpecial(char c) { return c == '{' || c == '}' || c == '\\' || static_cast<unsigned char>(c) < 0x20; }

// Character format as the reader tracks it; the font stays a number until a run is made.
struct Format {
    int font = -1;  // -1: the default font (\deff)
    int halfPoints = kDefaultHalfPoints;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

enum class Destination : unsigned char { Text, FontTable };

struct GroupState {
    Format format;
    int unicodeSkip = 1;  // \ucN
    Destination destination = Destination::Text;
};

class Reader {
public:
    explicit Reader(std::string_view rtf) : in_(rtf) {}
    RichDocument Read();

private:
    void ReadPlainText();
    void ReadControl();
    void ControlSymbol(char c);
    void ControlWord(std::string_view name, std::optional<std::int64_t> parameter);
    void OpenGroup();
    void CloseGroup();
    void StartSkip();
    bool TakeFallback();
    void Token(char32_t codePoint);
    void Emit(char32_t codePoint);
    void EmitUnicode(std::int64_t unit);
    void FlushSurrogate();
    void Put(char32_t codePoint);
    void EndParagraph();
    std::string& RunText();
    void CommitFont();
    const std::string& Family(int font) const;

    std::string_view in_;
    std::size_t pos_ = 0;

    GroupState state_;
    std::vector<GroupState> saved_;  // states of the enclosing groups, up to kMaxGroupDepth
    std::size_t depth_ = 0;          // open groups, those beyond the limit included
    bool skipping_ = false;          // inside a skipped destination ...
    std::size_t skipDepth_ = 0;      // ... which ends when the group at this depth closes
    std::int64_t fallback_ = 0;      // \uN fallback characters still to drop
    char32_t highSurrogate_ = 0;     // a \uN high surrogate waiting for its low half

    int defaultFont_ = -1;
    std::map<int, std::string> fonts_;
    int fontEntry_ = -1;  // the font table entry being read
    std::string fontName_;

    RichDocument document_;
    RichParagraph paragraph_;
    std::size_t runs_ = 0;
};

RichDocument Reader::Read()
{
    while (pos_ < in_.size()) {
        const char c = in_[pos_];
        if (c == '{') {
            ++pos_;
            OpenGroup();
        } else if (c == '}') {
            ++pos_;
            CloseGroup();
        } else if (c == '\\') {
            ReadControl();
        } else if (c == '\t') {
            ++pos_;
            Token('\t');
        } else if (IsSpecial(c)) {
            ++pos_;  // CR, LF and other controls: line breaks of the source, not of the text
        } else {
            ReadPlainText();
        }
    }
    FlushSurrogate();
    if (!paragraph_.runs.empty())
        document_.paragraphs.push_back(std::move(paragraph_));
    return std::move(document_);
}

// A stretch of text bytes up to the next special byte, appended at once when it can be.
void Reader::ReadPlainText()
{
    const std::size_t start = pos_;
    while (pos_ < in_.size() && !IsSpecial(in_[pos_]))
        ++pos_;
    std::string_view text = in_.substr(start, pos_ - start);
    if (skipping_)
        return;
    while (!text.empty() && TakeFallback())
        text.remove_prefix(1);
    if (text.empty())
        return;
    if (state_.destination == Destination::Text && highSurrogate_ == 0) {
        std::string& run = RunText();
        for (const char c : text)
            AppendUtf8(run, Cp1252ToCodePoint(static_cast<unsigned char>(c)));
    } else {
        for (const char c : text)
            Emit(Cp1252ToCodePoint(static_cast<unsigned char>(c)));
    }
}

// control word: "\" letters [ ["-"] digits ] [" "]; control symbol: "\" one other byte.
void Reader::ReadControl()
{
    ++pos_;
    if (pos_ >= in_.size())
        return;  // a lone backslash at the end
    if (!IsLetter(in_[pos_])) {
        ControlSymbol(in_[pos_++]);
        return;
    }
    const std::size_t start = pos_;
    while (pos_ < in_.size() && IsLetter(in_[pos_]))
        ++pos_;
    const std::string_view name = in_.substr(start, pos_ - start);

    std::optional<std::int64_t> parameter;
    std::size_t p = pos_;
    const bool negative = p < in_.size() && in_[p] == '-';
    if (negative)
        ++p;
    if (p < in_.size() && IsDigit(in_[p])) {
        std::int64_t value = 0;  // [0, kMaxParameter]
        for (; p < in_.size() && IsDigit(in_[p]); ++p)
            value = std::min(value * 10 + (in_[p] - '0'), kMaxParameter);
        parameter = negative ? -value : value;
        pos_ = p;
    }
    if (pos_ < in_.size() && in_[pos_] == ' ')
        ++pos_;  // the delimiter belongs to the control word
    ControlWord(name.size() <= kMaxWordLength ? name : std::string_view(), parameter);
}

void Reader::ControlSymbol(char c)
{
    if (c == '\'') {
        // Without two hex digits the "\'" is dropped and what follows is read as it stands.
        if (in_.size() - pos_ >= 2) {
            const int high = HexValue(in_[pos_]);
            const int low = HexValue(in_[pos_ + 1]);
            if (high >= 0 && low >= 0) {
                pos_ += 2;
                Token(Cp1252ToCodePoint(static_cast<unsigned char>(high * 16 + low)));
            }
        }
        return;
    }
    if (skipping_ || TakeFallback())
        return;
    switch (c) {
    case '\\':
    case '{':
    case '}':
        Emit(static_cast<unsigned char>(c));
        break;
    case '~': Emit(0x00A0); break;  // no-break space
    case '-': Emit(0x00AD); break;  // optional hyphen
    case '_': Emit(0x2011); break;  // non-breaking hyphen
    case '*': StartSkip(); break;
    case '\r':
    case '\n': EndParagraph(); break;
    default: break;  // \| \: and the like
    }
}

void Reader::ControlWord(std::string_view name, std::optional<std::int64_t> parameter)
{
    const Word* word = FindWord(name);
    if (word != nullptr && word->action == Action::Binary) {
        // Raw bytes that may hold braces and backslashes; passed over everywhere.
        const std::int64_t length = std::max<std::int64_t>(parameter.value_or(0), 0);
        pos_ += std::min(static_cast<std::size_t>(length), in_.size() - pos_);
        return;
    }
    if (skipping_ || TakeFallback() || word == nullptr)
        return;

    const bool on = !parameter || *parameter != 0;
    const bool hasNumber = parameter && *parameter >= 0;  // font numbers, skip counts
    Format& format = state_.format;
    switch (word->action) {
    case Action::Paragraph: EndParagraph(); break;
    case Action::Character: Emit(word->codePoint); break;
    case Action::Bold: format.bold = on; break;
    case Action::Italic: format.italic = on; break;
    case Action::Underline: format.underline = on; break;
    case Action::UnderlineNone: format.underline = false; break;
    case Action::FontSize:
        format.halfPoints = parameter && *parameter > 0
                                ? static_cast<int>(std::min<std::int64_t>(*parameter, kMaxHalfPoints))
                                : kDefaultHalfPoints;
        break;
    case Action::Font:
        if (state_.destination == Destination::FontTable) {
            fontEntry_ = hasNumber ? static_cast<int>(*parameter) : -1;
            fontName_.clear();
        } else if (hasNumber) {
            format.font = static_cast<int>(*parameter);
        }
        break;
    case Action::DefaultFont:
        if (hasNumber)
            defaultFont_ = static_cast<int>(*parameter);
        break;
    case Action::Plain: format = Format{}; break;
    case Action::Unicode:
        if (parameter) {
            EmitUnicode(*parameter);
            fallback_ = state_.unicodeSkip;
        }
        break;
    case Action::UnicodeSkip:
        if (hasNumber)
            state_.unicodeSkip = static_cast<int>(*parameter);
        break;
    case Action::FontTable:
        state_.destination = Destination::FontTable;
        fontEntry_ = -1;
        fontName_.clear();
        break;
    case Action::Skip: StartSkip(); break;
    case Action::Binary: break;
    }
}

void Reader::OpenGroup()
{
    fallback_ = 0;
    ++depth_;
    if (depth_ <= kMaxGroupDepth)
        saved_.push_back(state_);
}

void Reader::CloseGroup()
{
    fallback_ = 0;
    if (depth_ == 0)
        return;  // a stray brace; the text after it is still read
    const bool wasSkipping = skipping_;
    if (skipping_ && depth_ == skipDepth_)
        skipping_ = false;
    if (!wasSkipping && state_.destination == Destination::FontTable)
        CommitFont();  // an entry whose ";" is missing
    if (depth_ <= kMaxGroupDepth) {
        state_ = saved_.back();
        saved_.pop_back();
    }
    --depth_;
}

// Drops the rest of the current group; outside any group, the rest of the input.
void Reader::StartSkip()
{
    skipping_ = true;
    skipDepth_ = depth_;
}

// True when the token at hand is a \uN fallback character, which is then dropped.
bool Reader::TakeFallback()
{
    if (fallback_ <= 0)
        return false;
    --fallback_;
    return true;
}

// One character from a single token (\'hh, a raw tab).
void Reader::Token(char32_t codePoint)
{
    if (!skipping_ && !TakeFallback())
        Emit(codePoint);
}

void Reader::EmitUnicode(std::int64_t unit)
{
    if (unit < 0)
        unit += 65536;
    Emit(unit >= 0 && unit <= 0xFFFF ? static_cast<char32_t>(unit) : kReplacement);
}

// Joins UTF-16 surrogate pairs; a half without its partner becomes U+FFFD.
void Reader::Emit(char32_t codePoint)
{
    if (codePoint >= 0xD800 && codePoint <= 0xDBFF) {
        FlushSurrogate();
        highSurrogate_ = codePoint;
        return;
    }
    if (highSurrogate_ != 0 && codePoint >= 0xDC00 && codePoint <= 0xDFFF) {
        codePoint = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (codePoint - 0xDC00);
        highSurrogate_ = 0;
    }
    FlushSurrogate();
    Put(codePoint);
}

void Reader::FlushSurrogate()
{
    if (highSurrogate_ != 0) {
        highSurrogate_ = 0;
        Put(kReplacement);
    }
}

void Reader::Put(char32_t codePoint)
{
    if (state_.destination == Destination::Text) {
        AppendUtf8(RunText(), codePoint);  // a lone low surrogate becomes U+FFFD there
    } else if (codePoint == ';') {
        CommitFont();
    } else if (fontName_.size() < kMaxFontNameBytes) {
        AppendUtf8(fontName_, codePoint);
    }
}

void Reader::EndParagraph()
{
    if (state_.destination != Destination::Text)
        return;
    FlushSurrogate();
    if (document_.paragraphs.size() + 1 >= kMaxParagraphs) {
        Put(kLineSeparator);
        return;
    }
    document_.paragraphs.push_back(std::move(paragraph_));
    paragraph_ = RichParagraph();
}

// The text of the paragraph's last run when it has the current format, else of a new run.
std::string& Reader::RunText()
{
    const Format& f = state_.format;
    const std::string& family = Family(f.font >= 0 ? f.font : defaultFont_);
    const double pointSize = f.halfPoints / 2.0;
    std::vector<RichRun>& runs = paragraph_.runs;
    if (!runs.empty()) {
        const CharFormat& last = runs.back().format;
        const bool same = last.family == family && last.pointSize == pointSize &&
                          last.bold == f.bold && last.italic == f.italic &&
                          last.underline == f.underline;
        if (same || runs_ >= kMaxRuns)
            return runs.back().text;
    }
    ++runs_;
    runs.push_back({{}, {family, pointSize, f.bold, f.italic, f.underline}});
    return runs.back().text;
}

void Reader::CommitFont()
{
    const std::size_t first = fontName_.find_first_not_of(' ');
    if (fontEntry_ >= 0 && first != std::string::npos &&
        (fonts_.size() < kMaxFonts || fonts_.count(fontEntry_) != 0)) {
        const std::size_t last = fontName_.find_last_not_of(' ');
        fonts_[fontEntry_] = fontName_.substr(first, last - first + 1);
    }
    fontEntry_ = -1;
    fontName_.clear();
}

const std::string& Reader::Family(int font) const
{
    static const std::string kNone;
    const auto it = fonts_.find(font);
    return it != fonts_.end() ? it->second : kNone;
}

}  // namespace

RichDocument ReadRtf(std::string_view rtf)
{
    return Reader(rtf).Read();
}

}  // namespace skelmar
