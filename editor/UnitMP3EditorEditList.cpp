// The edit list in the main window: Delete removes the selection from what
// a save writes, the removed stretches are put back from the overview or
// the edit list dialog, and Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z step through
// the history of the selection's edits since the file was opened.
#include "editor/OverviewBand.h"
#include "editor/Selection.h"
#include "editor/SelectionMarkers.h"
#include "editor/UnitEditList.h"
#include "editor/UnitMP3Editor.h"
#include "engine/RoruvoMp3.h"
#include "widgets/Application.h"
#include "widgets/MaskEdit.h"
#include "widgets/MenuItem.h"

#include <QEvent>
#include <QShortcut>

namespace vivizu {
namespace {

// Closes the history's open step before every key the overview takes:
// each [ or ] there is a step of its own.
class TStepCloser : public QObject {
public:
    TStepCloser(QObject* parent, TEditHistory& history) : QObject(parent), FHistory(history) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress)
            FHistory.Close();
        return false;
    }

private:
    TEditHistory& FHistory;
};

} // namespace

void TFrmMP3Editor::WireEditList() {
    connect(FSelection, &TSelection::StreamChanged, this, [this] {
        FHistory.Reset(EditState());
        ShowEditItems();
    });
    connect(FSelection, &TSelection::Edited, this, &TFrmMP3Editor::RecordEdit);
    // A gesture ends with the drop (after its snap, wired before) or when
    // the typing in a time field is done.
    const auto close = [this] { FHistory.Close(); };
    connect(FMarkers, &TSelectionMarkers::Dropped, this, close);
    connect(FOverview, &TOverviewBand::LineDropped, this, close);
    for (TMaskEdit* field : {RzMaskEdit1, RzMaskEdit2})
        connect(field, &QLineEdit::editingFinished, this, close);
    FOverview->installEventFilter(new TStepCloser(this, FHistory));

    connect(PM_RemoveSelection, &TMenuItem::Click, this, &TFrmMP3Editor::RemoveSelection);
    connect(PM_Undo, &TMenuItem::Click, this, &TFrmMP3Editor::UndoEdit);
    connect(PM_Redo, &TMenuItem::Click, this, &TFrmMP3Editor::RedoEdit);
    connect(PM_EditList, &TMenuItem::Click, this, &TFrmMP3Editor::PM_EditListClick);
    // The keys work wherever the focus is, except in a text field, which
    // keeps Delete and its own undo for its text.
    const struct {
        QKeySequence Keys;
        void (TFrmMP3Editor::*Action)();
    } keys[] = {
        {QKeySequence(Qt::Key_Delete), &TFrmMP3Editor::RemoveSelection},
        {QKeySequence(Qt::CTRL | Qt::Key_Z), &TFrmMP3Editor::UndoEdit},
        {QKeySequence(Qt::CTRL | Qt::Key_Y), &TFrmMP3Editor::RedoEdit},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &TFrmMP3Editor::RedoEdit},
    };
    for (const auto& key : keys) {
        auto* shortcut = new QShortcut(key.Keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        const auto action = key.Action;
        connect(shortcut, &QShortcut::activated, this,
                [this, action] { GuardedCall([this, action] { (this->*action)(); }); });
    }
    ShowEditItems();
}

TEditState TFrmMP3Editor::EditState() const {
    return {FSelection->Start(), FSelection->End(), FSelection->Removed()};
}

// A move of one end only may join the step before it; anything else that
// changes is a step of its own.
void TFrmMP3Editor::RecordEdit() {
    const TEditState state = EditState();
    const TEditState& was = FHistory.Current();
    TEditKind kind = TEditKind::Other;
    if (SameStretches(state.Removed, was.Removed)) {
        if (state.End == was.End)
            kind = TEditKind::StartMove;
        else if (state.Start == was.Start)
            kind = TEditKind::EndMove;
    }
    if (FHistory.Record(state, kind))
        ShowEditItems();
}

void TFrmMP3Editor::RemoveSelection() {
    if (!FMp3 || !FMp3->Valid || Busy())
        return;
    FSelection->RemoveSelection();
}

void TFrmMP3Editor::UndoEdit() {
    if (!FHistory.CanUndo() || Busy())
        return;
    const TEditState& state = FHistory.Undo();
    FSelection->Restore(state.Start, state.End, state.Removed);
    ShowEditItems();
}

void TFrmMP3Editor::RedoEdit() {
    if (!FHistory.CanRedo() || Busy())
        return;
    const TEditState& state = FHistory.Redo();
    FSelection->Restore(state.Start, state.End, state.Removed);
    ShowEditItems();
}

void TFrmMP3Editor::PM_EditListClick() {
    if (!FMp3 || !FMp3->Valid)
        return;
    ShowEditList(this, *FSelection, FMp3->FileName);
}

void TFrmMP3Editor::ShowEditItems() {
    const bool file = FMp3 && FMp3->Valid;
    PM_RemoveSelection->SetEnabled(file);
    PM_EditList->SetEnabled(file);
    PM_Undo->SetEnabled(FHistory.CanUndo());
    PM_Redo->SetEnabled(FHistory.CanRedo());
}

} // namespace vivizu
