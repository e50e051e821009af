#pragma once
// The main window's message texts: the words of its message boxes and of
// its wait panel. They have no built-in values; they come from section
// "Messages" of the language file, and a missing key leaves its text empty.
#include <QString>
#include <string>

namespace vivizu {

struct TMessageTexts {
    QString Opening;      // Ms_Opening: wait panel while a file is analysed
    QString Error;        // Ms_Error: caption of the save-failed box
    QString Waiting;      // Ms_Waiting: wait panel while a segment is written
    QString Mono;         // Ms_Mono: channel text of a single-channel stream
    QString Stereo;       // Ms_Stereo: channel text of any other stream
    QString Info;         // Ms_Info: caption of the information boxes
    QString NotMP3;       // Ms_NotMP3: after the path when a file is no MP3
    QString NotSaveName;  // Ms_NotSaveName: before the path of a refused target
    QString NotSave;      // Ms_NotSave: writing the segment failed
    QString SplitWriting; // Ms_SplitWriting: wait panel of a split, %1 the piece, %2 their count
    QString SplitDone;    // Ms_SplitDone: after a split, %1 the pieces written, %2 their folder
    QString NoSilence;    // Ms_NoSilence: a split found no pause to split at
    QString Preparing;    // Ms_Preparing: wait panel while the result to play is written
    QString NotPlay;      // Ms_NotPlay: writing the result to play failed
    QString EmptySelection; // Ms_EmptySelection: a save or play of a selection whose end is not after its start
    QString SplitCancelled; // Ms_SplitCancelled: a split stopped by its Cancel button
    QString Saved;        // Ms_Saved: the status line after a save, %1 the new file's name
};

// Every "#13#10" in text replaced by a carriage return and line feed.
QString ExpandLineBreaks(QString text);

// A language file's bytes as text: UTF-8 when they are valid UTF-8,
// otherwise the ANSI code page of the user's locale.
QString DecodeLanguageText(const std::string& bytes);

// Reads the seventeen keys of section "Messages" of the file at path into texts,
// replacing what was there; a missing file, section or key gives "". Only
// Ms_NotSaveName has its "#13#10" expanded.
void LoadMessages(TMessageTexts& texts, const std::string& path);

} // namespace vivizu
