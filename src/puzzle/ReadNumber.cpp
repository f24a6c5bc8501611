#include "puzzle/ReadNumber.h"

#include <cctype>

bool ReadNumber(std::FILE* file, int32_t& value) {
    int c;
    do {
        c = std::fgetc(file);
    } while (c != EOF && std::isspace(c));
    bool negative = false;
    if (c == '-' || c == '+') {
        negative = c == '-';
        c = std::fgetc(file);
    }
    if (c == EOF || !std::isdigit(c)) return false;
    constexpr long long kLimit = 0x80000000LL;
    long long v = 0;
    while (c != EOF && std::isdigit(c)) {
        if (v < kLimit) v = v * 10 + (c - '0');
        c = std::fgetc(file);
    }
    if (c != EOF) std::ungetc(c, file);
    if (v > kLimit) v = kLimit;
    if (negative) {
        value = static_cast<int32_t>(-v);
    } else {
        value = static_cast<int32_t>(v < kLimit ? v : kLimit - 1);
    }
    return true;
}
