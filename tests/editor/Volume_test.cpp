// The volume dialog and its choices: kept in section OPTIONS and read back
// (odd values giving the defaults), OK keeps and Cancel or Escape leave the
// values, the options label shows a changed volume, a save with a gain
// set through the dialog gives the companion's `cut --gain` bytes, and the
// selection's loudness is measured in the background while it is open; the
// split at silences writes the companion's pieces with the same volume.
#include "EditorTestSupport.h"

#include "editor/Selection.h"
#include "editor/UnitVolume.h"
#include "engine/RoruvoMp3.h"
#include "i18n/Language.h"
#include "widgets/CheckBox.h"
#include "widgets/GlyphButton.h"
#include "widgets/Label.h"
#include "widgets/MenuItem.h"
#include "platform/Ini.h"
#include "platform/ProgramFolder.h"

#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

using namespace vivizu;
using namespace vivizu::test;

namespace {

TIniFile WithOptions(const std::vector<std::pair<std::string, std::string>>& values)
{
    TIniFile ini;
    for (const auto& [key, value] : values)
        ini.WriteString("OPTIONS", key, value);
    return ini;
}

TEST(VolumeChoices, RoundTripThroughTheSettingsAndOddValuesGiveTheDefaults)
{
    TVolumeChoices c;
    c.GainDb = -4.5;
    c.FadeInMs = 2500;
    c.FadeOutMs = 120000;
    c.Normalize = true;
    c.TargetLufs = -23.0;
    EXPECT_EQ(ReadVolumeChoices(WithOptions(VolumeSettingValues(c)), "OPTIONS"), c);
    EXPECT_EQ(ReadVolumeChoices(WithOptions(VolumeSettingValues({})), "OPTIONS"), TVolumeChoices{});
    EXPECT_FALSE(TVolumeChoices{}.Active());
    EXPECT_TRUE(c.Active());

    // A gain between steps is rounded to one; out of range, not a number
    // or in another notation: the default.
    EXPECT_EQ(ReadVolumeChoices(WithOptions({{"GainDb", "4"}}), "OPTIONS").GainDb, 4.5);
    const TVolumeChoices odd = ReadVolumeChoices(
        WithOptions({{"GainDb", "61"}, {"FadeInMs", "-5"}, {"FadeOutMs", "1e3"}, {"Normalize", "yes"},
                     {"TargetLufs", "3"}}),
        "OPTIONS");
    EXPECT_EQ(odd, TVolumeChoices{});

    // Into a cut request: steps, fades, the target only when asked for.
    TCutChoices cut;
    c.ApplyTo(cut);
    EXPECT_EQ(cut.GainSteps, -3);
    EXPECT_EQ(cut.FadeInMs, 2500);
    EXPECT_EQ(cut.FadeOutMs, 120000);
    ASSERT_TRUE(cut.NormalizeLufs);
    EXPECT_EQ(*cut.NormalizeLufs, -23.0);
    c.Normalize = false;
    c.ApplyTo(cut);
    EXPECT_FALSE(cut.NormalizeLufs);
}

class Volume : public ::testing::Test {
protected:
    std::string Settings() const { return Temp.path().toStdString() + "/Vivizu.ini"; }

    TFrmVolume* Dialog() const { return Form->findChild<TFrmVolume*>(QString(), Qt::FindDirectChildrenOnly); }

    // Opens the dialog through the menu and lets act answer it once it is up.
    void Show(std::function<void(TFrmVolume&)> act)
    {
        bool acted = false;
        QTimer::singleShot(0, Form.get(), [&] {
            TFrmVolume* dialog = Dialog();
            if (dialog && dialog->isVisible()) {
                act(*dialog);
                acted = true;
            }
        });
        Form->findChild<TMenuItem*>(QStringLiteral("PM_Volume"))->DoClick();
        EXPECT_TRUE(acted);
    }

    // The bytes a save of the whole of cbr128-tags.mp3 without a tag writes
    // once volume has answered the dialog.
    QByteArray SavedWith(std::function<void(TFrmVolume&)> volume)
    {
        Form->show();
        Show(std::move(volume));
        OpenThroughDialog(*Form, Seams, Fixture("cbr128-tags.mp3"));
        TEditorControls(*Form).RzCheckBox1->SetChecked(false); // no tag, as --no-tag
        const QString path = Temp.filePath(QStringLiteral("window.mp3"));
        SaveThroughDialog(*Form, Seams, path);
        EXPECT_TRUE(Seams.Boxes.empty());
        EXPECT_TRUE(Seams.Reports.empty());
        return FileBytes(path);
    }

    // The bytes of the companion's cut of the same whole file with options.
    QByteArray CompanionCut(const std::string& options)
    {
        const QString path = Temp.filePath(QStringLiteral("cli.mp3"));
        const std::string command = std::string("'") + VIVIZU_CLI + "' cut --no-tag " + options + " '" +
                                    Fixture("cbr128-tags.mp3").toStdString() + "' '" + path.toStdString() +
                                    "' 0 99:00:00 >/dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0);
        return FileBytes(path);
    }

    static QByteArray FileBytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir Temp;
    TDialogSeams Seams;
    std::unique_ptr<TFrmMP3Editor> Form = std::make_unique<TFrmMP3Editor>();
    // Taken after the first window is made, given back before it goes.
    test::TOwnProgramFolder Folder{Temp.path()};
};

TEST_F(Volume, OkKeepsCancelAndEscapeLeaveAndTheCloseWritesThem)
{
    Form->show();
    TEditorControls f(*Form);
    const QColor plain = f.Label29->FontColor();
    Show([](TFrmVolume& d) {
        EXPECT_TRUE(d.isModal());
        EXPECT_EQ(d.SpinGain->singleStep(), 1.5);
        // The companion's --gain range, the same both ways.
        EXPECT_EQ(d.SpinGain->minimum(), -60.0);
        EXPECT_EQ(d.SpinGain->maximum(), 60.0);
        EXPECT_FALSE(d.SpinTarget->isEnabled());
        d.SpinGain->setValue(6.0);
        d.SpinFadeIn->setValue(1.5);
        d.CheckNormalize->SetChecked(true);
        d.SpinTarget->setValue(-16);
        d.BtnOk->click();
    });
    EXPECT_NE(f.Label29->FontColor(), plain); // a changed volume shows
    Show([](TFrmVolume& d) {
        EXPECT_EQ(d.SpinGain->value(), 6.0); // reopens with the kept values
        d.SpinGain->setValue(-9.0);
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    Show([](TFrmVolume& d) {
        EXPECT_EQ(d.SpinGain->value(), 6.0);
        d.SpinFadeOut->setValue(3.0);
        d.BtnCancel->click();
    });
    Form->close();
    const TIniFile saved = TIniFile::Load(Settings());
    EXPECT_EQ(saved.ReadString("OPTIONS", "GainDb", ""), "6.0");
    EXPECT_EQ(saved.ReadString("OPTIONS", "FadeInMs", ""), "1500");
    EXPECT_EQ(saved.ReadString("OPTIONS", "FadeOutMs", ""), "0");
    EXPECT_EQ(saved.ReadString("OPTIONS", "Normalize", ""), "1");
    EXPECT_EQ(saved.ReadString("OPTIONS", "TargetLufs", ""), "-16.0");

    // A new window reads them back; all back to none, the label is plain.
    Form = std::make_unique<TFrmMP3Editor>();
    Form->show();
    Show([](TFrmVolume& d) {
        EXPECT_EQ(d.SpinGain->value(), 6.0);
        EXPECT_EQ(d.SpinFadeIn->value(), 1.5);
        EXPECT_TRUE(d.CheckNormalize->Checked());
        d.SpinGain->setValue(0);
        d.SpinFadeIn->setValue(0);
        d.CheckNormalize->SetChecked(false);
        d.BtnOk->click();
    });
    EXPECT_EQ(TEditorControls(*Form).Label29->FontColor(), plain);
}

TEST_F(Volume, SavedGainEqualsTheCompanionsCut)
{
    const QByteArray window = SavedWith([](TFrmVolume& d) {
        d.SpinGain->setValue(4.5);
        d.BtnOk->click();
    });
    EXPECT_GT(window.size(), 1000);
    EXPECT_EQ(window, CompanionCut("--gain 4.5"));
}

// A save with a loudness target and fades is the companion's cut with the
// same options: the target measured on the selection the same way, the
// same steps, the same bytes.
TEST_F(Volume, SavedTargetAndFadesEqualTheCompanionsCut)
{
    const QByteArray window = SavedWith([](TFrmVolume& d) {
        d.SpinGain->setValue(-1.5);
        d.SpinFadeOut->setValue(0.4);
        d.CheckNormalize->SetChecked(true);
        d.SpinTarget->setValue(-16);
        d.BtnOk->click();
    });
    EXPECT_GT(window.size(), 1000);
    EXPECT_EQ(window, CompanionCut("--gain -1.5 --fade-out 0.4 --normalize=-16"));
    EXPECT_NE(window, CompanionCut("--gain -1.5 --fade-out 0.4")); // the target changed the volume
}

// The window's split at silences is the companion's split --silence with
// the same volume: the gain, the fades and the loudness target, each piece
// measured on its own, give the same bytes piece for piece.
TEST_F(Volume, SplitAtSilencesIsTheCompanionsSplitWithTheSameVolume)
{
    if (std::system("command -v sox >/dev/null 2>&1 && command -v lame >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "needs sox and lame";
    const std::string dir = Temp.path().toStdString();
    // A loud tone, a pause, a quiet tone, a pause, a loud tone: the target
    // gives the pieces different steps.
    const std::string make =
        "cd '" + dir + "' && "
        "sox -q -R -n -r 44100 -c 2 loud.wav synth 2 sine 440 gain -10 && "
        "sox -q -R -n -r 44100 -c 2 quiet.wav synth 2 sine 660 gain -30 && "
        "sox -q -R -n -r 44100 -c 2 pause.wav trim 0 1.5 && "
        "sox -q loud.wav pause.wav quiet.wav pause.wav loud.wav album.wav && "
        "lame --quiet -b 128 album.wav Album.mp3 && rm -f *.wav && mkdir window companion plain";
    ASSERT_EQ(std::system(make.c_str()), 0);
    Form->show();
    Show([](TFrmVolume& d) {
        d.SpinGain->setValue(-3.0);
        d.SpinFadeIn->setValue(0.5);
        d.CheckNormalize->SetChecked(true);
        d.SpinTarget->setValue(-20);
        d.BtnOk->click();
    });
    OpenThroughDialog(*Form, Seams, QString::fromStdString(dir + "/Album.mp3"));
    TEditorControls f(*Form);
    f.RzCheckBox1->SetChecked(false); // no tag, as --no-tag
    Seams.Answer = QString::fromStdString(dir + "/window");
    f.PM_SplitSilence->DoClick();
    ASSERT_EQ(Seams.Boxes.size(), 1u);
    EXPECT_EQ(Seams.Boxes[0].Text,
              EnglishMessage("Ms_SplitDone").arg(3).arg(QString::fromStdString(dir + "/window")));

    const std::string cli = std::string("'") + VIVIZU_CLI + "' split --silence --no-tag ";
    ASSERT_EQ(std::system((cli + "--gain -3 --fade-in 0.5 --normalize=-20 -q -d '" + dir + "/companion' '" + dir +
                           "/Album.mp3' >/dev/null")
                              .c_str()),
              0);
    ASSERT_EQ(std::system((cli + "-q -d '" + dir + "/plain' '" + dir + "/Album.mp3' >/dev/null").c_str()), 0);
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        const auto read = [&](const char* folder) {
            return FileBytes(QString::fromStdString(dir + "/" + folder + "/Album " + std::to_string(n) + ".mp3"));
        };
        const QByteArray window = read("window");
        EXPECT_GT(window.size(), 1000);
        EXPECT_EQ(window, read("companion"));
        EXPECT_NE(window, read("plain"));
    }
}

// The figures a save's measurement gives for the range.
QString Measured(int32_t start, int32_t end)
{
    TRoruvoMP3 mp3(Fixture("cbr128-tags.mp3").toStdString());
    return LoudnessText(MeasureSelectionLoudness(mp3, start, end));
}

TEST_F(Volume, TheLoudnessLineFollowsTheSelectionWhileTheDialogIsOpen)
{
    Form->show();
    // No file: no line.
    Show([](TFrmVolume& d) {
        EXPECT_FALSE(d.LabelLoudness->isVisible());
        EXPECT_FALSE(d.LabelLoudnessValue->isVisible());
        d.BtnCancel->click();
    });
    OpenThroughDialog(*Form, Seams, Fixture("cbr128-tags.mp3"));
    TEditorControls f(*Form);
    // A part whose figures differ from the whole's at the shown 0.1 LU
    // (0.5 s to 1 s reads -13.6 LUFS, as the whole does).
    const QString whole = Measured(0, INT32_MAX), part = Measured(100, 600);
    ASSERT_NE(whole, part);
    ASSERT_TRUE(whole.endsWith(QStringLiteral(" dBTP"))) << whole.toStdString();
    Show([&](TFrmVolume& d) {
        EXPECT_TRUE(d.LabelLoudness->isVisible());
        EXPECT_EQ(d.LabelLoudness->Caption(), "Selection loudness:");
        // Measured away from the window's thread: the dialog answers
        // meanwhile, and the figures arrive.
        EXPECT_TRUE(QTest::qWaitFor([&] { return d.LabelLoudnessValue->Caption() == whole; }, 20000))
            << d.LabelLoudnessValue->Caption().toStdString();
        // The value stands beside its caption, inside the dialog.
        EXPECT_GT(d.LabelLoudnessValue->x(), d.LabelLoudness->geometry().right());
        EXPECT_LE(d.LabelLoudnessValue->geometry().right(), d.width());
        // The selection changes while the dialog is open: measured anew.
        f.RzMaskEdit2->SetText(QStringLiteral("000:00:00.600"));
        f.RzMaskEdit1->SetText(QStringLiteral("000:00:00.100"));
        EXPECT_TRUE(QTest::qWaitFor([&] { return d.LabelLoudnessValue->Caption() == part; }, 20000))
            << d.LabelLoudnessValue->Caption().toStdString();
        d.BtnCancel->click();
    });
    EXPECT_FALSE(Dialog()->Measuring());
    // Closed, the dialog no longer follows the selection.
    const QString shown = Dialog()->LabelLoudnessValue->Caption();
    f.RzMaskEdit1->SetText(QStringLiteral("000:00:00.000"));
    QTest::qWait(100);
    EXPECT_EQ(Dialog()->LabelLoudnessValue->Caption(), shown);
}

// In every language: the title stands in the caption strip, every row below
// it, the loudness line (caption and value, both whole) above the separator
// and the buttons below it; the loudness caption is in the language's own
// words. The channel text of the opened file follows the language too.
TEST_F(Volume, RowsBelowTheCaptionStripAndTheLoudnessLineAboveTheSeparatorInEveryLanguage)
{
    const QString from = QString::fromStdString(Folder.Former()) + QStringLiteral("Languages/");
    for (const auto& language : Languages)
        QFile::copy(from + QFileInfo(QLatin1String(language.File)).fileName(),
                    Temp.path() + QLatin1Char('/') + QLatin1String(language.File));
    Form->show();
    OpenThroughDialog(*Form, Seams, Fixture("cbr128-tags.mp3"));
    TEditorControls f(*Form);
    for (const auto& language : Languages) {
        SCOPED_TRACE(language.File);
        Form->ApplyLanguage(language.Number);
        const auto texts = TIniFile::Load(ProgramFolder() + language.File);
        EXPECT_EQ(f.Label19->Caption(), QString::fromStdString(texts.ReadString("Messages", "Ms_Stereo", "?")));
        Show([&](TFrmVolume& d) {
            const auto fits = [](TLabel* label) {
                return label->fontMetrics().horizontalAdvance(label->Caption()) <= label->width();
            };
            EXPECT_FALSE(d.LabelTitle->Caption().isEmpty());
            EXPECT_TRUE(fits(d.LabelTitle));
            EXPECT_GE(d.LabelTitle->y(), 0);
            EXPECT_LE(d.LabelTitle->geometry().bottom(), TFrmVolume::CaptionStripBottom);
            for (QWidget* row : std::initializer_list<QWidget*>{d.LabelGain, d.LabelFadeIn, d.LabelFadeOut,
                                                                 d.CheckNormalize, d.SpinGain, d.SpinFadeIn,
                                                                 d.SpinFadeOut, d.SpinTarget, d.LabelLoudness})
                EXPECT_GE(row->y(), TFrmVolume::CaptionStripBottom + 4) << row->objectName().toStdString();
            EXPECT_TRUE(QTest::qWaitFor([&] { return d.LabelLoudnessValue->Caption().endsWith("dBTP"); }, 20000));
            EXPECT_LT(d.LabelLoudness->geometry().bottom(), TFrmVolume::SeparatorTop);
            EXPECT_LT(d.SpinTarget->geometry().bottom(), d.LabelLoudness->y());
            EXPECT_TRUE(fits(d.LabelLoudness));
            EXPECT_TRUE(fits(d.LabelLoudnessValue)) << d.LabelLoudnessValue->Caption().toStdString();
            EXPECT_LT(d.LabelLoudnessValue->geometry().bottom(), TFrmVolume::SeparatorTop);
            EXPECT_FALSE(d.LabelLoudnessValue->geometry().intersects(d.LabelLoudness->geometry()));
            EXPECT_GT(d.BtnOk->y(), TFrmVolume::SeparatorTop);
            EXPECT_LE(d.BtnOk->geometry().bottom(), d.height() - 4);
            EXPECT_FALSE(d.LabelLoudness->Caption().contains(QStringLiteral("Loudness")) &&
                         language.Number != 0);
            d.BtnCancel->click();
        });
    }
    Form->ApplyLanguage(0);
}

// A measurement stopped before its result arrives shows nothing of it; a
// range without frames or a failed decode shows a dash, with the reason on
// the dash for a failure.
TEST(VolumeLoudness, AStoppedMeasurementIsDroppedAndFailuresShowADash)
{
    TFrmVolume dialog;
    TSelection selection;
    TRoruvoMP3 mp3(Fixture("cbr128-tags.mp3").toStdString());
    int taken = 0;
    dialog.StartMeasuring({[&] {
                               ++taken;
                               return SelectionFrames(mp3, 0, 1000);
                           },
                           &selection});
    dialog.StopMeasuring();
    QTest::qWait(300);
    EXPECT_EQ(dialog.LabelLoudnessValue->Caption(), QStringLiteral("\u2026"));
    selection.SetStream(1000);
    EXPECT_EQ(taken, 1); // no longer linked to the selection

    dialog.StartMeasuring({[&] { return SelectionFrames(mp3, 700, 700); }, nullptr});
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.LabelLoudnessValue->Caption() == QStringLiteral("\u2014"); }, 20000));

    TSelectionFrames gone = SelectionFrames(mp3, 0, 1000);
    gone.FileName = "/nonexistent/vivizu/gone.mp3";
    dialog.StartMeasuring({[&] { return gone; }, nullptr});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.LabelLoudnessValue->toolTip().isEmpty(); }, 20000));
    EXPECT_EQ(dialog.LabelLoudnessValue->Caption(), QStringLiteral("\u2014"));
    EXPECT_TRUE(dialog.LabelLoudnessValue->toolTip().contains(QStringLiteral("gone.mp3")))
        << dialog.LabelLoudnessValue->toolTip().toStdString();
    dialog.StopMeasuring();
}

} // namespace
