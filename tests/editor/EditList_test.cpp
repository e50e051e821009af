// The edit list in the window: Delete removes the selection and the
// markers span the stream again, removed stretches are put back from the
// overview, a save leaves them out as the companion's `cut --remove` does,
// undo and redo walk every edit back and forth, a new file starts a new
// history, and the edit list dialog exports and imports the list.
#include "EditorTestSupport.h"
#include "ScriptedDevice.h"

#include "editor/MarkerDrag.h"
#include "editor/OverviewBand.h"
#include "editor/OverviewJob.h"
#include "editor/OverviewSpeech.h"
#include "editor/PreviewDevice.h"
#include "editor/Selection.h"
#include "editor/TimeParse.h"
#include "editor/UnitEditList.h"
#include "editor/UnitPlayMsg.h"
#include "i18n/Language.h"
#include "request/EditList.h"
#include "tests/engine/Mp3Bytes.h"
#include "widgets/CheckBox.h"
#include "widgets/GlyphButton.h"
#include "widgets/Image.h"
#include "widgets/Label.h"
#include "widgets/MaskEdit.h"
#include "widgets/MenuItem.h"
#include "widgets/OpenDialog.h"
#include "widgets/RadioButton.h"
#include "widgets/SaveDialog.h"
#include "widgets/TrackBar.h"

#include <QApplication>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

using namespace vivizu;
using namespace vivizu::test;

namespace {

constexpr int MarkerMidY = 181; // the markers' middle row over the position bar
constexpr int GrabOffset = 8;
constexpr int64_t Length = 4048; // tone-pause-tone.mp3

using P = std::vector<std::pair<int64_t, int64_t>>;

P Pairs(const TRemovedList& list) {
    P pairs;
    for (const TRemoved& r : list)
        pairs.emplace_back(r.FromMs, r.ToMs);
    return pairs;
}

class EditList : public ::testing::Test {
protected:
    void SetUp() override {
        Form->show();
        QApplication::setActiveWindow(Form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
        OpenThroughDialog(*Form, Seams, Fixture("tone-pause-tone.mp3"));
        Selection = Form->findChild<TSelection*>();
        Band = Form->findChild<TOverviewBand*>(QStringLiteral("OverviewBand"));
        ASSERT_NE(Selection, nullptr);
        ASSERT_NE(Band, nullptr);
        ASSERT_EQ(Selection->LengthMs(), Length);
    }

    TMenuItem* Item(const char* name) const {
        return Form->findChild<TMenuItem*>(QLatin1String(name));
    }

    // Types ms into a time field from its first digit on, then Enter.
    void Type(TMaskEdit* field, int64_t ms) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Home);
        QTest::keyClicks(field, QString::asprintf("%03lld%02lld%02lld%03lld",
                                                  static_cast<long long>(ms / 3600000),
                                                  static_cast<long long>(ms / 60000 % 60),
                                                  static_cast<long long>(ms / 1000 % 60),
                                                  static_cast<long long>(ms % 1000)));
        QTest::keyClick(field, Qt::Key_Return);
    }
    void Select(int64_t start, int64_t end) {
        Type(Ui.RzMaskEdit2, Length);
        Type(Ui.RzMaskEdit1, start);
        Type(Ui.RzMaskEdit2, end);
    }
    // A key pressed with the keyboard's focus on the overview.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        Band->setFocus();
        QTest::keyClick(Band, key, modifiers);
    }
    // Opens "Edit list..." from the menu and runs act on the dialog while it
    // is shown; OK closes it afterwards (also when act stops on a failure).
    template <class Act>
    void WithEditListDialog(const Act& act) {
        bool acted = false;
        QTimer::singleShot(0, Form.get(), [&] {
            auto* d = Form->findChild<TFrmEditList*>(QString(), Qt::FindDirectChildrenOnly);
            ASSERT_TRUE(d && d->isVisible());
            acted = true;
            const auto close = qScopeGuard([d] { d->BtnOk->click(); });
            act(d);
        });
        Item("PM_EditList")->DoClick();
        EXPECT_TRUE(acted);
    }
    P Removed() const { return Pairs(Selection->Removed()); }
    std::pair<int64_t, int64_t> Ends() const { return {Selection->Start(), Selection->End()}; }
    int64_t Shown(TMaskEdit* field) const { return TimeTextToMs(field->Text()); }

    TDialogSeams Seams;
    TempDir Temp;
    std::unique_ptr<TFrmMP3Editor> Form;
    TEditorControls Ui{*(Form = std::make_unique<TFrmMP3Editor>())};
    TSelection* Selection = nullptr;
    TOverviewBand* Band = nullptr;
};

TEST_F(EditList, DeleteRemovesTheSelectionWhichTheOverviewStrikesOutAndPutsBack) {
    Select(1000, 2000);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Removed(), (P{{1000, 2000}}));
    // The markers, their fields and the overview's words span all again.
    EXPECT_EQ(Ends(), std::make_pair(int64_t{0}, Length));
    EXPECT_EQ(Shown(Ui.RzMaskEdit1), 0);
    EXPECT_EQ(Shown(Ui.RzMaskEdit2), Length);
    auto* speech = Band->findChild<TOverviewSpeech*>();
    ASSERT_NE(speech, nullptr);
    EXPECT_TRUE(speech->Words().contains(QStringLiteral("Removed stretches: 1; to save: 0:03.048")))
        << speech->Words().toStdString();

    // The menu item does the same; touching and overlapping stretches merge.
    Select(2000, 2500);
    Item("PM_RemoveSelection")->DoClick();
    Select(3000, 3500);
    Key(Qt::Key_Delete);
    Select(3200, 3600);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Removed(), (P{{1000, 2500}, {3000, 3600}}));
    // An empty selection removes nothing; Delete in a time field edits it.
    Select(500, 500);
    Key(Qt::Key_Delete);
    Ui.RzMaskEdit1->setFocus();
    QTest::keyClick(Ui.RzMaskEdit1, Qt::Key_Delete);
    EXPECT_EQ(Removed(), (P{{1000, 2500}, {3000, 3600}}));

    // Ctrl+click on a struck-out stretch puts it back; a plain click does
    // not. Insert puts back the stretch under the position.
    const QPoint inFirst(Band->XOfTime(1700), TOverviewBand::Middle);
    QTest::mouseClick(Band, Qt::LeftButton, Qt::NoModifier, inFirst);
    EXPECT_EQ(Removed().size(), 2u);
    // Ctrl+click outside the stretches picks the position as a click does.
    QTest::mouseClick(Band, Qt::LeftButton, Qt::ControlModifier,
                      QPoint(Band->XOfTime(2800), TOverviewBand::Middle));
    EXPECT_NEAR(static_cast<double>(Band->Position()), 2800.0,
                2 * Band->ViewSpan() / Band->Columns());
    EXPECT_EQ(Removed().size(), 2u);
    QTest::mouseClick(Band, Qt::LeftButton, Qt::ControlModifier, inFirst);
    EXPECT_EQ(Removed(), (P{{3000, 3600}}));
    Band->SetPosition(3300);
    Key(Qt::Key_Insert);
    EXPECT_EQ(Removed(), P{});
    EXPECT_FALSE(speech->Words().contains(QStringLiteral("Removed")));
}

// The window's save of the selection with a removed stretch inside is
// byte for byte the companion's cut of the same range with --remove; a
// stretch outside the selection changes nothing.
TEST_F(EditList, SaveAsLeavesOutTheRemovedStretchesInsideTheSelectionAsTheCompanionDoes) {
    Ui.RzCheckBox1->SetChecked(false); // no tag, as --no-tag
    const std::string source = Fixture("tone-pause-tone.mp3").toStdString();
    const auto compare = [&](const char* name, const std::string& options,
                             const std::string& range) -> size_t {
        const std::string ours = Temp.Path() + "/" + name + "-window.mp3";
        const std::string theirs = Temp.Path() + "/" + name + "-cli.mp3";
        SaveThroughDialog(*Form, Seams, QString::fromStdString(ours));
        EXPECT_TRUE(Seams.Boxes.empty());
        EXPECT_TRUE(Seams.Reports.empty());
        const std::string command = std::string("'") + VIVIZU_CLI + "' cut --no-tag " + options +
                                    " '" + source + "' '" + theirs + "' " + range + " >/dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        const Bytes window = ReadAll(ours), companion = ReadAll(theirs);
        EXPECT_GT(window.size(), 1000u);
        EXPECT_TRUE(window == companion)
            << name << ": " << window.size() << " vs " << companion.size();
        return window.size();
    };
    Select(1000, 2000);
    Key(Qt::Key_Delete);
    Select(500, 3500);
    const size_t cut = compare("inside", "--remove 0:01-0:02", "0:00.5 0:03.5");
    Select(2500, 3500);
    const size_t outside = compare("outside", "", "0:02.5 0:03.5");
    EXPECT_LT(outside, cut);
    // The exact cut keeps its sample-exact ends around the same joins.
    Item("PM_ExactCut")->DoClick();
    ASSERT_TRUE(Item("PM_ExactCut")->Checked());
    Select(500, 3500);
    compare("exact", "--exact --remove 0:01-0:02", "0:00.5 0:03.5");
    Item("PM_ExactCut")->DoClick();

    // Nothing left between the markers but removed audio: no file.
    Select(1000, 2000);
    Seams.Answer = QString::fromStdString(Temp.Path() + "/none.mp3");
    Ui.BtnSaveMp3->click();
    ASSERT_EQ(Seams.Boxes.size(), 1u);
    EXPECT_TRUE(Seams.Boxes[0].Text.contains(EnglishMessage("Ms_EmptySelection")));
    EXPECT_FALSE(QFile::exists(Seams.Answer));
}

TEST_F(EditList, UndoAndRedoWalkEveryEditOfTheSelectionBackAndForth) {
    EXPECT_FALSE(Item("PM_Undo")->Enabled());
    std::vector<std::pair<std::pair<int64_t, int64_t>, P>> states{{Ends(), Removed()}};
    const auto note = [&] { states.push_back({Ends(), Removed()}); };
    Type(Ui.RzMaskEdit1, 1000); // typed digit by digit: one step
    note();
    Type(Ui.RzMaskEdit2, 3000);
    note();
    // A drag of the end marker over many places: one step.
    QWindow* win = Form->windowHandle();
    const int left = Ui.ImageEnd->Left();
    QTest::mousePress(win, Qt::LeftButton, {}, QPoint(left + GrabOffset, MarkerMidY));
    for (int dx = 5; dx <= 40; dx += 5)
        QTest::mouseMove(win, QPoint(left - dx + GrabOffset, MarkerMidY));
    QTest::mouseRelease(win, Qt::LeftButton, {}, QPoint(left - 40 + GrabOffset, MarkerMidY));
    ASSERT_LT(Selection->End(), 3000);
    note();
    // [ on the overview sets the start to the position.
    Band->SetPosition(1500);
    Key(Qt::Key_BracketLeft);
    note();
    Key(Qt::Key_Delete);
    note();
    Type(Ui.RzMaskEdit1, 200);
    note();
    Type(Ui.RzMaskEdit2, 400);
    note();
    Key(Qt::Key_Delete);
    note();
    QTest::mouseClick(Band, Qt::LeftButton, Qt::ControlModifier,
                      QPoint(Band->XOfTime(300), TOverviewBand::Middle));
    note();
    EXPECT_EQ(Removed().size(), 1u);
    EXPECT_TRUE(Item("PM_Undo")->Enabled());
    EXPECT_FALSE(Item("PM_Redo")->Enabled());

    // Back, one step a key, to the opened state.
    for (size_t i = states.size() - 1; i-- > 0;) {
        Key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(Ends(), states[i].first) << "step " << i;
        EXPECT_EQ(Removed(), states[i].second) << "step " << i;
    }
    EXPECT_FALSE(Item("PM_Undo")->Enabled());
    // The fields show what the undo gave.
    EXPECT_EQ(Shown(Ui.RzMaskEdit1), 0);
    EXPECT_EQ(Shown(Ui.RzMaskEdit2), Length);
    // Forward again: Ctrl+Y, Ctrl+Shift+Z and the menu item.
    for (size_t i = 1; i < states.size(); ++i) {
        if (i % 3 == 0)
            Item("PM_Redo")->DoClick();
        else
            Key(i % 3 == 1 ? Qt::Key_Y : Qt::Key_Z,
                i % 3 == 1 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(Ends(), states[i].first) << "step " << i;
        EXPECT_EQ(Removed(), states[i].second) << "step " << i;
    }
    // A new edit drops what could still be redone.
    for (int i = 0; i < 3; ++i)
        Item("PM_Undo")->DoClick();
    EXPECT_TRUE(Item("PM_Redo")->Enabled());
    Type(Ui.RzMaskEdit2, 2500);
    EXPECT_FALSE(Item("PM_Redo")->Enabled());
    Item("PM_Undo")->DoClick();
    EXPECT_EQ(Ends(), states[states.size() - 4].first);
    EXPECT_EQ(Removed(), states[states.size() - 4].second);
}

// A line of the overview dragged and let go, and then moved on into a
// pause by the snap, is one step: one undo puts it back where it was.
TEST_F(EditList, ADragWithItsSnapIsOneStep) {
    auto* job = Form->findChild<TOverviewJob*>();
    ASSERT_TRUE(QTest::qWaitFor([job] { return !job->Running(); }, 20000));
    QTest::qWait(50);
    Item("PM_SnapToQuiet")->DoClick();
    const int from = Band->XOfTime(static_cast<double>(Length));
    const int to = Band->XOfTime(1700.0);
    QTest::mousePress(Band, Qt::LeftButton, {}, QPoint(from, TOverviewBand::Middle));
    for (int x = from - 10; x > to; x -= 10)
        QTest::mouseMove(Band, QPoint(x, TOverviewBand::Middle));
    QTest::mouseMove(Band, QPoint(to, TOverviewBand::Middle));
    QTest::mouseRelease(Band, Qt::LeftButton, {}, QPoint(to, TOverviewBand::Middle));
    const int64_t snapped = Selection->End();
    EXPECT_GT(snapped, 1900) << "moved on into the pause";
    EXPECT_LT(snapped, 2200);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Ends(), std::make_pair(int64_t{0}, Length));
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Selection->End(), snapped);
}

TEST_F(EditList, OpeningAnotherFileStartsANewHistory) {
    Select(1000, 2000);
    Key(Qt::Key_Delete);
    ASSERT_TRUE(Item("PM_Undo")->Enabled());
    OpenThroughDialog(*Form, Seams, Fixture("stereo-notag.mp3"));
    EXPECT_EQ(Removed(), P{});
    EXPECT_FALSE(Item("PM_Undo")->Enabled());
    const auto ends = Ends();
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Ends(), ends);
    EXPECT_EQ(Removed(), P{});
}

TEST_F(EditList, TheDialogListsTheStretchesPutsBackAndExportsAndImportsAnEditList) {
    Select(1000, 2000);
    Key(Qt::Key_Delete);
    Select(3000, 3250);
    Key(Qt::Key_Delete);
    const TRemovedList made = Selection->Removed();
    const std::string listPath = Temp.Path() + "/list.edl";
    const std::string badPath = Temp.Write("bad.edl", Bytes{'1', ' ', 'x', '\n'});
    WithEditListDialog([&](TFrmEditList* d) {
        ASSERT_EQ(d->ListRemoved->topLevelItemCount(), 2);
        EXPECT_EQ(d->ListRemoved->topLevelItem(1)->text(0), QStringLiteral("0:03.000"));
        EXPECT_EQ(d->ListRemoved->topLevelItem(1)->text(2), QStringLiteral("0:00.250"));
        EXPECT_EQ(d->LabelKept->Caption(), QStringLiteral("To be saved: 0:02.798"));
        EXPECT_EQ(d->ListRemoved->accessibleName(), QStringLiteral("Removed stretches"));

        // The list proposed beside the MP3, under its name.
        Seams.Answer.clear();
        d->BtnExport->click();
        EXPECT_EQ(d->SaveDialog1->FileName(),
                  QFileInfo(Fixture("tone-pause-tone.mp3")).absolutePath() +
                      QStringLiteral("/tone-pause-tone.edl"));
        Seams.Answer = QString::fromStdString(listPath);
        d->BtnExport->click();
        const Bytes written = ReadAll(listPath);
        EXPECT_EQ(std::string(written.begin(), written.end()), EditListText(made));

        d->ListRemoved->setCurrentItem(d->ListRemoved->topLevelItem(0));
        d->BtnPutBack->click();
        EXPECT_EQ(Removed(), (P{{3000, 3250}}));
        d->BtnPutBack->click();
        EXPECT_EQ(d->ListRemoved->topLevelItemCount(), 0);
        EXPECT_FALSE(d->BtnExport->isEnabled());
        EXPECT_FALSE(d->BtnPutBack->isEnabled());

        // A file that is no edit list: said, and the list left as it is.
        Seams.Answer = QString::fromStdString(badPath);
        d->BtnImport->click();
        ASSERT_EQ(Seams.Boxes.size(), 1u);
        EXPECT_TRUE(
            Seams.Boxes[0].Text.startsWith(QStringLiteral("The edit list could not be read.")));
        EXPECT_EQ(d->ListRemoved->topLevelItemCount(), 0);

        Seams.Answer = QString::fromStdString(listPath);
        d->BtnImport->click();
        EXPECT_EQ(Removed(), Pairs(made));
        EXPECT_EQ(d->ListRemoved->topLevelItemCount(), 2);
    });
    QApplication::setActiveWindow(Form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    // The import and each put-back are steps of the history.
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Removed(), P{});
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Removed(), (P{{3000, 3250}}));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Removed(), Pairs(made));
}

// The export never replaces the MP3 it belongs to, and replaces another
// file only when the user says yes.
TEST_F(EditList, TheExportNeverReplacesTheMp3AndAsksBeforeReplacingAnotherFile) {
    const std::string mp3 = Temp.Write("talk.mp3", ReadAll(Fixture("tone-pause-tone.mp3").toStdString()));
    const Bytes original = ReadAll(mp3);
    OpenThroughDialog(*Form, Seams, QString::fromStdString(mp3));
    Select(1000, 2000);
    Key(Qt::Key_Delete);
    const std::string kept = Temp.Write("kept.edl", Bytes{'1', ' ', '2', ' ', '0', '\n'});
    WithEditListDialog([&](TFrmEditList* d) {
        Seams.Answer = QString::fromStdString(Temp.Path() + "/./talk.mp3");
        d->BtnExport->click();
        ASSERT_EQ(Seams.Boxes.size(), 1u);
        EXPECT_TRUE(Seams.Boxes[0].Text.contains(QStringLiteral("MP3 file being edited")));
        EXPECT_TRUE(Seams.Questions.empty());
        EXPECT_TRUE(ReadAll(mp3) == original);

        Seams.Answer = QString::fromStdString(kept);
        Seams.ReplaceAnswer = false;
        d->BtnExport->click();
        EXPECT_EQ(Seams.Questions.size(), 1u);
        const Bytes unchanged = ReadAll(kept);
        EXPECT_EQ(std::string(unchanged.begin(), unchanged.end()), "1 2 0\n");
        Seams.ReplaceAnswer = true;
        d->BtnExport->click();
        EXPECT_EQ(Seams.Questions.size(), 2u);
        const Bytes replaced = ReadAll(kept);
        EXPECT_EQ(std::string(replaced.begin(), replaced.end()), EditListText(Selection->Removed()));
    });
}

} // namespace

namespace {

// Every language gives the dialog three column titles and the words their
// markers, and the overview's words for removed stretches both of theirs.
TEST(EditListLanguages, EveryLanguageFillsTheDialogsTextsAndTheirMarkers) {
    for (const TLanguage& language : Languages) {
        SCOPED_TRACE(language.File);
        TFrmEditList dialog;
        const QString before = dialog.LabelTitle->Caption();
        ASSERT_TRUE(ApplyLanguageFile(dialog, ProgramFolder() + language.File));
        EXPECT_EQ(dialog.Headers().size(), 3);
        EXPECT_TRUE(dialog.KeptWords().contains(QStringLiteral("%1")));
        EXPECT_FALSE(dialog.ReadFailedWords().isEmpty());
        EXPECT_FALSE(dialog.ListRemoved->accessibleName().isEmpty());
        if (language.Number != 0) {
            EXPECT_NE(dialog.LabelTitle->Caption(), before);
        }

        TFrmMP3Editor window;
        ApplyLanguageFile(window, ProgramFolder() + language.File);
        const auto* words = window.findChild<TOverviewSpeech*>(QStringLiteral("OverviewSpeech"));
        ASSERT_NE(words, nullptr);
        EXPECT_TRUE(words->RemovedWords().contains(QStringLiteral("%1")));
        EXPECT_TRUE(words->RemovedWords().contains(QStringLiteral("%2")));
        if (language.Number != 0) {
            EXPECT_NE(words->RemovedWords(), QStringLiteral("Removed stretches: %1; to save: %2"));
        }
    }
}

} // namespace

namespace {

// "Play the result" plays the bytes a save writes, removed stretches left
// out alike.
TEST(EditListPlay, TheResultPlayedLeavesOutTheRemovedStretchesAsTheSaveDoes) {
    auto script = std::make_shared<DeviceScript>();
    SetPreviewDeviceMaker([script] { return std::make_unique<ScriptedDevice>(script); });
    TDialogSeams seams;
    auto form = std::make_unique<TFrmMP3Editor>();
    SetPreviewDeviceMaker({});
    SetPlayMsgHook([](TFrmPlayMsg& dialog) {
        dialog.RadioButton4->SetChecked(true);
        return mrOk;
    });
    const auto unhook = qScopeGuard([] { SetPlayMsgHook({}); });
    TempDir temp;
    OpenThroughDialog(*form, seams, Fixture("tone-pause-tone.mp3"));
    auto* selection = form->findChild<TSelection*>();
    selection->SetStart(1000);
    selection->SetEnd(2000);
    ASSERT_TRUE(selection->RemoveSelection());
    selection->SetStart(500);
    selection->SetEnd(3500);
    const std::string saved = temp.Path() + "/saved.mp3";
    SaveThroughDialog(*form, seams, QString::fromStdString(saved));
    TEditorControls(*form).BtnPlayStart->click();
    EXPECT_TRUE(seams.Boxes.empty());
    EXPECT_TRUE(seams.Reports.empty());
    const Bytes bytes = ReadAll(saved);
    EXPECT_EQ(script->OpenedBytes, std::string(bytes.begin(), bytes.end()));
    EXPECT_GT(bytes.size(), 1000u);
    form.reset();
}

} // namespace
