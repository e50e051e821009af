#include "operations/Planner.h"

namespace vivizu {

std::optional<TCutResult> CheckJob(const TJob& job)
{
    for (const TJobSource& source : job.Sources)
        if (source.Mp3 == nullptr || !source.Mp3->Valid)
            return CutOutcome(TCutStatus::NotAnalysed, 0,
                              (source.Mp3 ? source.Mp3->FileName : std::string()) + ": not an MP3 stream");
    if (job.Sources.empty())
        return std::nullopt;
    // A join compares the formats of its files itself, before it writes:
    // the layer of its first file is the join's.
    const TRoruvoMP3& mp3 = *job.Sources.front().Mp3;
    if (mp3.Info.Layer == 3)
        return std::nullopt;
    const TCutChoices& c = job.Choices;
    // Layers I and II keep their levels in scale factors: there is no
    // global gain to step, and a loudness target would be measured for
    // nothing. Refused rather than written unchanged.
    if (c.NormalizeLufs)
        return CutOutcome(TCutStatus::NotApplicable, 0,
                          mp3.FileName + ": loudness normalisation works on Layer III streams only");
    if (job.Kind == TJobKind::Chapters)
        return std::nullopt;
    // A join of Layer I/II files is written without a header, which the
    // join itself refuses with its reason.
    if (job.Kind != TJobKind::Join && (c.LengthHeader || c.ExactCut))
        return CutOutcome(TCutStatus::NotApplicable, 0,
                          mp3.FileName + ": a length header and an exact cut need Layer III audio");
    TCutOptions volume;
    volume.GainSteps = c.GainSteps;
    volume.FadeInMs = c.FadeInMs;
    volume.FadeOutMs = c.FadeOutMs;
    volume.JoinFadeMs = c.JoinFadeMs;
    volume.Removed = job.Sources.front().Removed;
    // A join fades at the joins between its files, with no stretch removed.
    if (volume.ChangesVolume() || (job.Kind == TJobKind::Join && c.JoinFadeMs > 0))
        return CutOutcome(TCutStatus::NotApplicable, 0,
                          mp3.FileName + ": gain and fades need Layer III audio (Layers I and II keep their "
                                         "levels in scale factors)");
    return std::nullopt;
}

std::vector<TRunOutput> JobOutputs(const TJob& job, size_t input)
{
    switch (job.Kind) {
    case TJobKind::Cut: return {{job.Output, input, "cut"}};
    case TJobKind::Join: return {{job.Output, input, "join"}};
    case TJobKind::Chapters: return {{job.Output, input, "chaptered copy"}};
    case TJobKind::Split: break;
    }
    std::vector<TRunOutput> outputs;
    for (const TSplitPiece& piece : job.Pieces)
        outputs.push_back({piece.FileName, input, "piece"});
    if (!job.CueSheet.empty())
        outputs.push_back({job.CueSheet, input, "cue sheet"});
    return outputs;
}

TID3v1Tag PieceTag(const TMp3StreamInfo& info, const TPieceTagging& tagging, const TTagEdits& extra, size_t i,
                   int codePage)
{
    TTagEdits edits = tagging.Edits;
    if (!edits.Title && extra.Title) edits.Title = extra.Title;
    if (!edits.Artist && extra.Artist) edits.Artist = extra.Artist;
    if (!edits.Album && extra.Album) edits.Album = extra.Album;
    const bool tagged = tagging.Mode == TTagMode::Always ||
                        (tagging.Mode == TTagMode::FromSource &&
                         (info.ID3v1Size == 128 || edits.Any() || tagging.TrackStartSet));
    if (tagged)
        edits.Track = tagging.TrackStart + static_cast<int>(i);
    return BuildCutTag(info, tagging.Mode, edits, codePage);
}

TPlannedPieces PlanPieces(const TMp3StreamInfo& info, const std::vector<TSplitRange>& ranges,
                          const TPieceNaming& naming, const TPieceTagging& tagging,
                          const std::vector<TTagEdits>& extras, int codePage)
{
    TPlannedPieces planned;
    for (size_t i = 0; i < ranges.size(); ++i) {
        TPieceFields fields;
        fields.Number = static_cast<int>(i) + 1;
        fields.Count = static_cast<int>(ranges.size());
        fields.Name = naming.SourceName;
        if (i < naming.Titles.size()) fields.Title = naming.Titles[i];
        if (i < naming.Artists.size()) fields.Artist = naming.Artists[i];
        fields.Start = ranges[i].Start;
        fields.End = ranges[i].End;
        planned.Names.push_back(PieceName(naming.Template, fields));
        const std::string& name = planned.Names.back();
        planned.Pieces.push_back({ranges[i], naming.Folder == "." ? name : naming.Folder + "/" + name,
                                  PieceTag(info, tagging, i < extras.size() ? extras[i] : TTagEdits{}, i, codePage)});
    }
    return planned;
}

} // namespace vivizu
