#pragma once
// What the overview band says to a screen reader: the selection's start,
// end and length and the stretch the band shows, in words of the chosen
// language, and a note when a marker has snapped into a pause. It is a
// component of the band (named "OverviewSpeech"), so a language file sets
// its word patterns like any other text:
//   OverviewSpeech.SelectionWords=Start %1, end %2, length %3; showing %4 to %5
// With stretches removed it adds how many and the length a save writes.
// It tells the accessibility layer whenever what it says changes: the
// selection, a snap, the position (as the value), and the shown stretch
// once the band paints it after a zoom or a pan.
#include <QObject>
#include <QString>
#include <cstdint>

namespace vivizu {

class TOverviewBand;
class TSelection;

class TOverviewSpeech : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString SelectionWords READ SelectionWords WRITE SetSelectionWords)
    Q_PROPERTY(QString SnapStartWords READ SnapStartWords WRITE SetSnapStartWords)
    Q_PROPERTY(QString SnapEndWords READ SnapEndWords WRITE SetSnapEndWords)
    Q_PROPERTY(QString RemovedWords READ RemovedWords WRITE SetRemovedWords)

public:
    // Becomes a child of band; follows the selection's changes.
    TOverviewSpeech(TOverviewBand& band, const TSelection& selection);

    // %1 start, %2 end, %3 length, %4 and %5 the shown stretch's ends.
    QString SelectionWords() const { return FSelectionWords; }
    void SetSelectionWords(const QString& words);
    // %1 the time the marker landed on.
    QString SnapStartWords() const { return FSnapStartWords; }
    void SetSnapStartWords(const QString& words) { FSnapStartWords = words; }
    QString SnapEndWords() const { return FSnapEndWords; }
    void SetSnapEndWords(const QString& words) { FSnapEndWords = words; }
    // Said after the selection while stretches are removed: %1 how many,
    // %2 the length a save of the selection writes.
    QString RemovedWords() const { return FRemovedWords; }
    void SetRemovedWords(const QString& words) { FRemovedWords = words; }

    // The band's state in words: the snap note, if any, first.
    QString Words() const;
    // The opened stream's length in ms; 0 when none is open.
    int64_t StreamLength() const;

    // A marker moved into a pause: said until the selection changes again.
    void NoteSnap(bool start, int64_t landed);
    // The play position moved: a value change for the reader.
    void PositionMoved();

signals:
    // What the band says, or its value, has changed (sent also when no
    // reader listens).
    void WordsChanged();
    void PositionChanged();

protected:
    // The band's paints: a zoom or a pan shows as a new stretch there.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SelectionMoved();
    void Announce();

    TOverviewBand& FBand;
    const TSelection& FSelection;
    QString FSelectionWords;
    QString FSnapStartWords;
    QString FSnapEndWords;
    QString FRemovedWords;
    QString FNote;
    // The stretch last said, to tell a zoom or pan from other paints.
    double FSaidViewStart = 0.0;
    double FSaidViewSpan = 0.0;
};

} // namespace vivizu
