#include "editor/SaveTag.h"

#include "platform/CodePage.h"
#include "request/CutRequest.h"

namespace vivizu {

std::string CutToBytes(const QString& text, int n) {
    return TagFieldBytes(text.toStdString(), n < 0 ? 0 : static_cast<std::size_t>(n), AnsiCodePage());
}

uint8_t TrackFieldNumber(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] <= u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    if (i == text.size())
        return 0;
    int value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return 0;
        value = value * 10 + (c - u'0');
        if (value > 255)
            return 0; // outside the range however it goes on
    }
    if (negative || value < 1)
        return 0;
    return static_cast<uint8_t>(value);
}

} // namespace vivizu
