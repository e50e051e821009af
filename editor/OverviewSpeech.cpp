#include "editor/OverviewSpeech.h"

#include "editor/OverviewBand.h"
#include "editor/Selection.h"
#include "editor/TimeText.h"

#include <QAccessible>
#include <QEvent>
#include <cmath>

namespace vivizu {

TOverviewSpeech::TOverviewSpeech(TOverviewBand& band, const TSelection& selection)
    : QObject(&band), FBand(band), FSelection(selection),
      FSelectionWords(QStringLiteral("Start %1, end %2, length %3; showing %4 to %5")),
      FSnapStartWords(QStringLiteral("Start %1, snapped into a pause")),
      FSnapEndWords(QStringLiteral("End %1, snapped into a pause")),
      FRemovedWords(QStringLiteral("Removed stretches: %1; to save: %2")) {
    setObjectName(QStringLiteral("OverviewSpeech"));
    connect(&selection, &TSelection::StartChanged, this, &TOverviewSpeech::SelectionMoved);
    connect(&selection, &TSelection::EndChanged, this, &TOverviewSpeech::SelectionMoved);
    connect(&selection, &TSelection::RemovedChanged, this, &TOverviewSpeech::SelectionMoved);
    band.installEventFilter(this);
}

bool TOverviewSpeech::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &FBand && event->type() == QEvent::Paint &&
        (FBand.ViewStart() != FSaidViewStart || FBand.ViewSpan() != FSaidViewSpan))
        Announce();
    return false;
}

void TOverviewSpeech::SetSelectionWords(const QString& words) {
    FSelectionWords = words;
    Announce();
}

QString TOverviewSpeech::Words() const {
    const auto viewStart = static_cast<int64_t>(std::llround(FBand.ViewStart()));
    const auto viewEnd = static_cast<int64_t>(std::llround(FBand.ViewStart() + FBand.ViewSpan()));
    // QString::arg fills the lowest markers first, so a translation may
    // leave the view out or put the markers in another order.
    const QString selection = QString(FSelectionWords)
                                  .arg(ShortTimeText(FSelection.Start()), ShortTimeText(FSelection.End()),
                                       ShortTimeText(FSelection.End() - FSelection.Start()),
                                       ShortTimeText(viewStart), ShortTimeText(viewEnd));
    QString words = FNote.isEmpty() ? selection : FNote + QStringLiteral(". ") + selection;
    const TRemovedList& removed = FSelection.Removed();
    if (!removed.empty())
        words += QStringLiteral("; ") +
                 QString(FRemovedWords)
                     .arg(QString::number(removed.size()),
                          ShortTimeText(KeptLength(removed, FSelection.Start(), FSelection.End())));
    return words;
}

int64_t TOverviewSpeech::StreamLength() const { return FSelection.LengthMs(); }

void TOverviewSpeech::NoteSnap(bool start, int64_t landed) {
    FNote = (start ? FSnapStartWords : FSnapEndWords).arg(ShortTimeText(landed));
    Announce();
}

void TOverviewSpeech::SelectionMoved() {
    FNote.clear();
    Announce();
}

void TOverviewSpeech::PositionMoved() {
    emit PositionChanged();
    if (!QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent event(&FBand, QVariant::fromValue(FBand.Position()));
    QAccessible::updateAccessibility(&event);
}

void TOverviewSpeech::Announce() {
    FSaidViewStart = FBand.ViewStart();
    FSaidViewSpan = FBand.ViewSpan();
    emit WordsChanged();
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent described(&FBand, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&described);
    QAccessibleValueChangeEvent value(&FBand, QVariant::fromValue(FBand.Position()));
    QAccessible::updateAccessibility(&value);
}

} // namespace vivizu
