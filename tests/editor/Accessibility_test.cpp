// What a screen reader finds in the main window: a name (and where it helps
// a description) for every control in the chosen language, the overview as
// an object of its own that says the selection in words and announces its
// changes. (That errors come with the error icon is checked where they
// are raised: MainWindow_test, Save_test.)
#include "EditorTestSupport.h"

#include "editor/OverviewBand.h"
#include "editor/OverviewJob.h"
#include "editor/OverviewSpeech.h"
#include "editor/TimeParse.h"
#include "editor/TimeText.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace vivizu;
using namespace vivizu::test;

namespace {

class Accessibility : public ::testing::Test {
protected:
    void SetUp() override {
        Form = std::make_unique<TFrmMP3Editor>();
        Form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
        Band = Form->findChild<TOverviewBand*>(QStringLiteral("OverviewBand"));
        ASSERT_NE(Band, nullptr);
    }

    static QAccessibleInterface* Of(QObject* object) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
        EXPECT_NE(face, nullptr) << object->objectName().toStdString();
        return face;
    }
    static QString Name(QObject* object) { return Of(object)->text(QAccessible::Name); }

    void OpenWithDecodedLevels(const char* fixture) {
        OpenThroughDialog(*Form, Seams, Fixture(fixture));
        ASSERT_TRUE(TEditorControls(*Form).BtnSaveMp3->isEnabled());
        auto* job = Form->findChild<TOverviewJob*>();
        ASSERT_TRUE(QTest::qWaitFor([job] { return !job->Running(); }, 20000));
        QTest::qWait(50);
    }

    TDialogSeams Seams;
    std::unique_ptr<TFrmMP3Editor> Form;
    TOverviewBand* Band = nullptr;
};

} // namespace

TEST_F(Accessibility, EveryControlHasANameInTheChosenLanguage) {
    TEditorControls f(*Form);
    struct Row {
        QWidget* Control;
        QAccessible::Role Role;
        const char* English;
        const char* German;
    };
    const Row rows[] = {
        {f.BtnOpenMp3, QAccessible::Button, "Open", "\u00d6ffnen"},
        {f.BtnSaveMp3, QAccessible::Button, "Save As", "Speichern unter"},
        {f.BtnAbout, QAccessible::Button, "About", "\u00dcber Vivizu"},
        {f.RzBmpButton2, QAccessible::Button, "Minimize", "Minimieren"},
        {f.RzBmpButton1, QAccessible::Button, "Close", "Schlie\u00dfen"},
        {f.TrackBarPos, QAccessible::Slider, "Position", "Position"},
        {f.RzMaskEdit1, QAccessible::EditableText, "Start tag", "Startmarke"},
        {f.RzMaskEdit2, QAccessible::EditableText, "End tag", "Endmarke"},
        {f.Label28, QAccessible::StaticText, ">> Language", ">> Sprache"},
        {Band, QAccessible::Chart, "Overview", "\u00dcbersicht"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Control->objectName().toStdString());
        EXPECT_EQ(Of(row.Control)->role(), row.Role);
        EXPECT_EQ(Name(row.Control), QString::fromUtf8(row.English));
    }
    EXPECT_FALSE(Of(f.TrackBarPos)->text(QAccessible::Description).isEmpty());
    EXPECT_TRUE(Of(f.BtnOpenMp3)->text(QAccessible::Description).contains(QStringLiteral("Ctrl+O")));

    Form->ApplyLanguage(2);
    for (const Row& row : rows)
        EXPECT_EQ(Name(row.Control), QString::fromUtf8(row.German)) << row.Control->objectName().toStdString();
    EXPECT_TRUE(Of(f.BtnOpenMp3)->text(QAccessible::Description).contains(QStringLiteral("Strg+O")));

    // Back in English every name is the English one again.
    Form->ApplyLanguage(0);
    for (const Row& row : rows)
        EXPECT_EQ(Name(row.Control), QString::fromUtf8(row.English)) << row.Control->objectName().toStdString();
}

TEST_F(Accessibility, TheOverviewSaysTheSelectionAndTheShownStretchInWords) {
    OpenWithDecodedLevels("tone-pause-tone.mp3");
    TEditorControls f(*Form);
    f.RzMaskEdit1->SetText(QStringLiteral("000:00:01.000"));
    f.RzMaskEdit2->SetText(QStringLiteral("000:00:02.500"));
    QAccessibleInterface* overview = Of(Band);
    const QString words = overview->text(QAccessible::Description);
    const int64_t length = static_cast<int64_t>(std::llround(Band->ViewSpan()));
    EXPECT_EQ(words, QStringLiteral("Start 0:01.000, end 0:02.500, length 0:01.500; showing 0:00.000 to ") +
                         ShortTimeText(length));

    f.TrackBarPos->SetPosition(1234);
    auto* value = overview->valueInterface();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->currentValue().toLongLong(), 1234);
    EXPECT_EQ(value->maximumValue().toLongLong(), f.TrackBarPos->Max());
    EXPECT_EQ(overview->text(QAccessible::Value), QStringLiteral("0:01.234"));

    Form->ApplyLanguage(2);
    EXPECT_TRUE(overview->text(QAccessible::Description).startsWith(QStringLiteral("Anfang 0:01.000, Ende 0:02.500")));
    Form->ApplyLanguage(0);
}

TEST_F(Accessibility, ChangesOfSelectionPositionAndSnappingAreAnnounced) {
    OpenWithDecodedLevels("tone-pause-tone.mp3");
    TEditorControls f(*Form);
    auto* speech = Band->findChild<TOverviewSpeech*>();
    ASSERT_NE(speech, nullptr);
    int words = 0, positions = 0;
    QObject::connect(speech, &TOverviewSpeech::WordsChanged, [&] { ++words; });
    QObject::connect(speech, &TOverviewSpeech::PositionChanged, [&] { ++positions; });

    f.RzMaskEdit1->SetText(QStringLiteral("000:00:00.500"));
    EXPECT_GE(words, 1);
    f.TrackBarPos->SetPosition(700);
    EXPECT_EQ(positions, 1);

    // A typed end in the tone moves into the pause; the overview says so.
    f.PM_SnapToQuiet->DoClick();
    words = 0;
    f.RzMaskEdit2->setFocus();
    QTest::keyClick(f.RzMaskEdit2, Qt::Key_Home);
    QTest::keyClicks(f.RzMaskEdit2, QStringLiteral("0000001700"));
    QTest::keyClick(f.RzMaskEdit2, Qt::Key_Return);
    const QString said = Of(Band)->text(QAccessible::Description);
    EXPECT_TRUE(said.startsWith(QStringLiteral("End ") + ShortTimeText(TimeTextToMs(f.RzMaskEdit2->Text())) +
                                QStringLiteral(", snapped into a pause. Start 0:00.500")))
        << said.toStdString();
    EXPECT_GE(words, 1);
    f.PM_SnapToQuiet->DoClick();

    // A zoom is said once the band shows it.
    words = 0;
    Band->ZoomAt(Band->width() / 2, 4.0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return words > 0; }, 2000));
    const int64_t viewEnd = std::llround(Band->ViewStart() + Band->ViewSpan());
    EXPECT_TRUE(Of(Band)->text(QAccessible::Description).endsWith(ShortTimeText(viewEnd)));
    Band->ShowWholeStream();

    // The next change of the selection drops the note.
    f.RzMaskEdit1->SetText(QStringLiteral("000:00:00.400"));
    EXPECT_TRUE(Of(Band)->text(QAccessible::Description).startsWith(QStringLiteral("Start 0:00.400")));
}
