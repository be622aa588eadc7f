#pragma once
// Small routines that cut bulletin lines, station entries and dates into fields and words.
// Text is 8-bit (code page 1252), compared byte by byte; positions and field numbers count
// from 1. None of them fails: every input, the empty text included, has a defined result.

#include <string>
#include <string_view>
#include <vector>

namespace skelmar {

// The words of one line, in order.
using TWordList = std::vector<std::string>;

// Field n (from 1) of `text` cut at every `delimiter`. k delimiters make k + 1 fields, empty
// ones included ("A  B" at the blank: "A", "", "B"). n < 1 or n > k + 1 gives "".
std::string ExtractField(std::string_view text, char delimiter, int n);

// Replaces `words` by the maximal runs of characters other than the blank (code 32).
// Tabs and every other character belong to a word.
void SplitWords(std::string_view text, TWordList& words);

// `text` without every `c` at both ends (TrimChar) or at its start (TrimCharLeft).
std::string TrimChar(std::string_view text, char c);
std::string TrimCharLeft(std::string_view text, char c);

// The first / last n characters; the whole text when n reaches its length, "" when n <= 0.
std::string LeftChars(std::string_view text, int n);
std::string RightChars(std::string_view text, int n);

// One left-to-right pass: every non-overlapping occurrence of `search` in `text` as given is
// replaced by `replacement`; text brought in by a replacement is never searched again.
// The new text is allocated once. Returns the number of replacements; an empty `search`
// changes nothing and returns 0.
int ReplaceAll(std::string& text, std::string_view search, std::string_view replacement);

}  // namespace skelmar
