#include "platform/NaturalCompare.h"

#include <utf8proc.h>

namespace sonavel {

namespace {

bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

char32_t Fold(char16_t c)
{
    return static_cast<char32_t>(utf8proc_tolower(c));
}

// Compares the digit runs starting at a[i] and b[j] by value and advances past them.
int CompareNumbers(std::u16string_view a, size_t& i, std::u16string_view b, size_t& j)
{
    while (i < a.size() && a[i] == u'0') {
        ++i;
    }
    while (j < b.size() && b[j] == u'0') {
        ++j;
    }
    size_t endA = i;
    size_t endB = j;
    while (endA < a.size() && IsDigit(a[endA])) {
        ++endA;
    }
    while (endB < b.size() && IsDigit(b[endB])) {
        ++endB;
    }
    int result = 0;
    if (endA - i != endB - j) {
        result = endA - i < endB - j ? -1 : 1;
    } else {
        const int digits = a.substr(i, endA - i).compare(b.substr(j, endB - j));
        result = digits < 0 ? -1 : (digits > 0 ? 1 : 0);
    }
    i = endA;
    j = endB;
    return result;
}

} // namespace

int NaturalCompare(std::u16string_view a, std::u16string_view b)
{
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            if (const int numbers = CompareNumbers(a, i, b, j); numbers != 0) {
                return numbers;
            }
            continue;
        }
        const char32_t x = Fold(a[i]);
        const char32_t y = Fold(b[j]);
        if (x != y) {
            return x < y ? -1 : 1;
        }
        ++i;
        ++j;
    }
    if (i < a.size()) {
        return 1;
    }
    if (j < b.size()) {
        return -1;
    }
    // Equal by value: fall back to an exact order so that the sort is total.
    return a.compare(b) < 0 ? -1 : (a.compare(b) > 0 ? 1 : 0);
}

} // namespace sonavel
