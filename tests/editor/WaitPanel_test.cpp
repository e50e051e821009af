// The wait panel: its text stands clear of the spinner drawn at its left,
// in every language, and fits the panel.
#include "EditorTestSupport.h"
#include "tests/engine/Mp3Bytes.h"

#include "i18n/Language.h"
#include "widgets/Label.h"
#include "widgets/Panel.h"

#include <QFontMetrics>
#include <gtest/gtest.h>


using namespace vivizu;
using namespace vivizu::test;

namespace {

// The spinner and the divider beside it take the panel's first 46 pixels.
constexpr int SpinnerRight = 46;

TEST(WaitPanel, TheTextStandsRightOfTheSpinnerAndFitsInEveryLanguage) {
    TDialogSeams seams;
    TFrmMP3Editor form;
    form.show();
    const TEditorControls f(form);
    TempDir temp;
    for (const auto& language : Languages) {
        SCOPED_TRACE(language.File);
        form.ApplyLanguage(language.Number);
        // The panel keeps the text it last said: while a file opened, then
        // while the selection was saved.
        OpenThroughDialog(form, seams, Fixture("cbr128-tags.mp3"));
        const QString opening = f.Label25->Caption();
        SaveThroughDialog(form, seams, QString::fromStdString(temp / "out.mp3"));
        const QString saving = f.Label25->Caption();
        for (const QString& text : {opening, saving}) {
            ASSERT_FALSE(text.isEmpty());
            const QRect label = f.Label25->geometry();
            EXPECT_GE(label.left(), SpinnerRight);
            EXPECT_LE(label.right(), f.PanelState->width() - 1);
            const QRect needed = f.Label25->fontMetrics().boundingRect(
                QRect(QPoint(0, 0), label.size()), Qt::TextWordWrap | Qt::AlignCenter, text);
            EXPECT_LE(needed.width(), label.width()) << text.toStdString();
            EXPECT_LE(needed.height(), label.height()) << text.toStdString();
        }
    }
    form.ApplyLanguage(0);
}

} // namespace
