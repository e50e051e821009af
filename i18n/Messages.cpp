#include "i18n/Messages.h"

#include "i18n/LanguageFile.h"
#include "platform/CodePage.h"

#include <QStringDecoder>
#include <array>
#include <utility>

namespace vivizu {

QString ExpandLineBreaks(QString text) {
    return text.replace(QStringLiteral("#13#10"), QStringLiteral("\r\n"));
}

QString DecodeLanguageText(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError())
        return text;
    return QString::fromStdString(AnsiToUtf8(bytes, AnsiCodePage()));
}

void LoadMessages(TMessageTexts& texts, const std::string& path) {
    const auto ini = LoadLanguageFile(path);
    // Read in the file format's key order; each slot is replaced.
    const std::array<std::pair<const char*, QString*>, 17> messageSlots{{
        {"Ms_Opening", &texts.Opening},
        {"Ms_Error", &texts.Error},
        {"Ms_Waiting", &texts.Waiting},
        {"Ms_Mono", &texts.Mono},
        {"Ms_Stereo", &texts.Stereo},
        {"Ms_Info", &texts.Info},
        {"Ms_NotMP3", &texts.NotMP3},
        {"Ms_NotSaveName", &texts.NotSaveName},
        {"Ms_NotSave", &texts.NotSave},
        {"Ms_SplitWriting", &texts.SplitWriting},
        {"Ms_SplitDone", &texts.SplitDone},
        {"Ms_NoSilence", &texts.NoSilence},
        {"Ms_Preparing", &texts.Preparing},
        {"Ms_NotPlay", &texts.NotPlay},
        {"Ms_EmptySelection", &texts.EmptySelection},
        {"Ms_Saved", &texts.Saved},
        {"Ms_SplitCancelled", &texts.SplitCancelled},
    }};
    for (const auto& [key, slot] : messageSlots)
        *slot = QString::fromStdString(ini.ReadString("Messages", key, ""));
    texts.NotSaveName = ExpandLineBreaks(texts.NotSaveName);
}

} // namespace vivizu
