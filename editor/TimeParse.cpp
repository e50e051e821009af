#include "editor/TimeParse.h"

namespace vivizu {

namespace {

// Zero-based positions in HHH:MM:SS.mmm.
constexpr int TensOfMinutes = 4;
constexpr int TensOfSeconds = 7;

// The whole number written in text[from, from + count), or 0 when that
// stretch is not made of the ASCII digits alone (or runs past the end).
int64_t DigitsValue(const QString& text, int from, int count) {
    if (from + count > text.size()) return 0;
    int64_t value = 0;
    for (int i = from; i < from + count; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') return 0;
        value = value * 10 + (c - u'0');
    }
    return value;
}

// A tens digit of a minute or second field may not stand for 6 or more.
void ClampTensDigit(QString& text, int pos) {
    if (DigitsValue(text, pos, 1) >= 6) text[pos] = u'5';
}

} // namespace

QString NormalizeTimeText(const QString& text) {
    QString result = text;
    if (result.size() < TimeTextLength) {
        result = result.leftJustified(TimeTextLength, u' ');
    }
    ClampTensDigit(result, TensOfMinutes);
    ClampTensDigit(result, TensOfSeconds);
    result.replace(u' ', u'0');
    return result;
}

int64_t TimeTextToMs(const QString& text) {
    const int64_t hours = DigitsValue(text, 0, 3);
    const int64_t minutes = DigitsValue(text, 4, 2);
    const int64_t seconds = DigitsValue(text, 7, 2);
    const int64_t millis = DigitsValue(text, 10, 3);
    return ((hours * 3600 + minutes * 60 + seconds) * 1000) + millis;
}

} // namespace vivizu
