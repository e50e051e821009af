#include "cli/Console.h"

#include "platform/Utf8.h"

#include <cstdio>
#include <iostream>
#include <string>

namespace vivizu {

void PrintUsage(std::ostream& out)
{
    out << "Usage:\n"
           "  vivizu-cli info [--json] FILE\n"
           "  vivizu-cli cut [--tag|--no-tag] [--title T] [--artist T] [--album T]\n"
           "                 [--year T] [--comment T] [--track N] [--genre N]\n"
           "                 [--keep-id3v2] [--length-header] [--exact]\n"
           "                 [--gain DB] [--fade-in T] [--fade-out T]\n"
           "                 [--normalize[=LUFS]] [--allow-clipping]\n"
           "                 FILE OUT START END\n"
           "  vivizu-cli loudness [--json] [--threads N] FILE [START END]\n"
           "  vivizu-cli peaks [--pixels-per-second N | --samples-per-pixel N]\n"
           "                   [-b 8|16] [--split-channels] [--estimate] [--threads N]\n"
           "                   [-o OUT.json|OUT.dat] FILE\n"
           "  vivizu-cli cut [options] -d DIR [-o TEMPLATE] [--force] [--json] [-q]\n"
           "                 FILE... START END\n"
           "  vivizu-cli split (--at T1,T2,... | --every T | --parts N | --cue FILE.cue\n"
           "                 | --silence [--threshold DB] [--min-length T]\n"
           "                   [--keep-silence T] [--threads N])\n"
           "                 [-d DIR] [-o TEMPLATE] [--force] [--dry-run [--json]]\n"
           "                 [--exact] [--track-start N] [cut's tag and header options]\n"
           "                 [--write-cue FILE.cue | --chapters OUT] [--json] [-q] FILE...\n"
           "                 [--normalize[=LUFS] [--normalize-all] [--allow-clipping]]\n"
           "                 [--gain DB] [--fade-in T] [--fade-out T]\n"
           "  vivizu-cli join -o OUT [--force] [--length-header] [--keep-id3v2]\n"
           "                 [--chapters] [cut's tag options] [--json] [-q]\n"
           "                 FILE[:START-END] FILE[:START-END]...\n"
#if VIVIZU_HAVE_MEDIA
           "  vivizu-cli play --help\n"
#endif
           "  vivizu-cli --help\n"
           "\n"
           "info  Analyses FILE and prints its stream properties, play length and\n"
           "      ID3v1 tag as 'Key: value' lines, or as one JSON object with --json.\n"
           "\n"
           "cut   Copies the MPEG frames of FILE from START to END into OUT, byte for\n"
           "      byte without re-encoding; the cut falls on frame boundaries. A range\n"
           "      with no audio frame is declined and nothing is written.\n"
           "      START and END are whole milliseconds (61500) or times such as\n"
           "      1:02:03.004, 2:03.5 or 03.004. OUT is never the input file.\n"
           "      OUT gets the source's ID3v1 tag when the source has one; --tag writes\n"
           "      a tag even when it has none, --no-tag writes none. The field options\n"
           "      change single fields of the tag (and ask for one); texts longer than\n"
           "      their field are cut at whole characters, a track outside 1-255 means\n"
           "      no track, a genre is its number 0-255 (255 = none).\n"
           "      --keep-id3v2     puts the source's ID3v2 tag (pictures included) in\n"
           "                       front, without its length and index frames; edited\n"
           "                       fields replace the matching ID3v2 frames.\n"
           "      --length-header  begins OUT with a Xing/Info header frame (frame and\n"
           "                       byte counts, seek table, encoder delay and padding)\n"
           "                       so that players show the cut's real length.\n"
           "      --exact          cuts at the exact samples of START and END with a\n"
           "                       clean first sample for gapless players (warm-up\n"
           "                       frames and a silent reservoir frame, trimmed by the\n"
           "                       header); implies --length-header. Layer III only.\n"
           "      --gain DB        changes the volume by DB decibels without re-encoding,\n"
           "                       in whole steps of 1.5 dB: the nearest step is used\n"
           "                       and printed; at most 60 dB either way. Layer III only.\n"
           "      --fade-in T      fades in from silence over the first T of the piece\n"
           "      --fade-out T     and out to silence over its last T (times as START),\n"
           "                       in equal steps of 1.5 dB, one granule at a time; with\n"
           "                       --exact measured within the samples players play.\n"
           "                       Layer III only.\n"
           "      --normalize[=LUFS]  measures the range's loudness (EBU R128) and adds\n"
           "                       the whole steps of 1.5 dB nearest to LUFS (default\n"
           "                       -18), fewer when the true peak would pass -1 dBTP;\n"
           "                       adds to --gain. Prints the loudness and the steps.\n"
           "      --allow-clipping lets --normalize pass the -1 dBTP ceiling.\n"
           "      --remove T1-T2   leaves the stretch T1..T2 of the source out of the cut\n"
           "                       (again for more stretches); its ends are rounded to\n"
           "                       the nearest frame boundary, and a frame after a join\n"
           "                       that borrowed bytes from removed frames gets them\n"
           "                       back in a silent frame before it. With --exact the\n"
           "                       outer ends stay sample-exact, the joins on frames.\n"
           "      --remove-edl FILE  the stretches of an edit decision list (MPlayer/\n"
           "                       Kodi: 'START END ACTION' in seconds; actions 0 and 3\n"
           "                       remove), as commercial detectors such as comskip write.\n"
           "      --join-fade T    fades out to silence over the last T before each join\n"
           "                       and in over the first T after it (global gain steps,\n"
           "                       no re-encoding). Layer III only.\n"
           "      --chapters       with stretches removed: an ID3v2 chapter (CHAP, CTOC)\n"
           "                       where each kept stretch begins, titled by its time\n"
           "                       in the source.\n"
           "\n"
           "join  Writes the files (or the ranges START-END of them, times as cut reads\n"
           "      them, e.g. a.mp3:1:00-2:30) one after another into OUT as one stream,\n"
           "      frames copied byte for byte. Files that differ in MPEG version, layer,\n"
           "      sample rate or channel count are refused, and nothing is written: one\n"
           "      header cannot describe them, and players stop at the change. A file\n"
           "      joined from within whose first frame borrows bytes from the frames\n"
           "      before it gets a silent frame that carries them. OUT is never an\n"
           "      input; an existing OUT is replaced only with --force. OUT gets the\n"
           "      first file's ID3v1 tag, changed by cut's tag options (--tag, --no-tag,\n"
           "      --title, --artist, --album, --year, --comment, --track, --genre) as a\n"
           "      cut's is. --json prints how the join ended as the JSON line cut -d\n"
           "      prints (its file is OUT); -q is accepted as cut's is. The volume\n"
           "      options (--gain, --fade-in, --fade-out, --join-fade, --normalize) are\n"
           "      refused: a join copies the frames as they are.\n"
           "      --length-header  one Xing/Info header frame for the whole, with the\n"
           "                       first file's encoder delay and the last one's padding\n"
           "                       when they are taken from their start and to their end.\n"
           "      --keep-id3v2     puts the first file's ID3v2 tag in front.\n"
           "      --chapters       one ID3v2 chapter per file, titled by its tag's title\n"
           "                       (else its name), and a table of contents.\n"
           "\n"
           "loudness  Decodes FILE, or its frames from START to END (picked as cut picks\n"
           "      them), and prints its integrated loudness (LUFS), loudness range (LU),\n"
           "      true peak (dBTP) and sample peak (dBFS) after EBU R128, and the\n"
           "      ReplayGain 2.0 track gain (dB, to -18 LUFS), as 'Key: value' lines\n"
           "      or one JSON object with --json. Silence reads -inf (null in JSON).\n"
           "\n"
           "peaks Decodes FILE and writes its waveform data: per pixel the lowest and\n"
           "      highest sample, of the channels' mix or, with --split-channels, of\n"
           "      each channel; in the JSON or binary .dat layout (version 2) that web\n"
           "      waveform viewers read, chosen by OUT's ending; JSON on standard\n"
           "      output without -o. --samples-per-pixel N (default 256), or\n"
           "      --pixels-per-second N (the sample rate divided by N); -b 8 or 16\n"
           "      bits per value (default 16). --estimate: the levels estimated from\n"
           "      the frames' side information (Layer III), without decoding.\n"
           "\n"
           "loudness and peaks decode on every core; --threads N uses N threads.\n"
           "\n"
           "split Writes consecutive pieces of FILE that together cover the stream,\n"
           "      in one pass, each as cut writes it: at the times of --at, every T,\n"
           "      in N equal parts, or at the tracks of a cue sheet (INDEX 01; TITLE\n"
           "      and PERFORMER fill the pieces' tags). Pieces begin at the first\n"
           "      frame at or after each time; with --exact each piece is an exact\n"
           "      cut and the pieces play gapless as the source. The track number\n"
           "      counts up from --track-start (1).\n"
           "      --silence    splits in the middle of every pause between sounds: a\n"
           "                   stretch whose level stays below --threshold (-48 dBFS)\n"
           "                   for at least --min-length (1.0 s), found by decoding\n"
           "                   the stream on every core. --keep-silence T keeps at\n"
           "                   most T of each pause at either side of a piece and\n"
           "                   drops the rest. No pause found: nothing is written\n"
           "                   (exit 1). --dry-run lists the pauses and their levels.\n"
           "      -d DIR       the pieces' folder (default the current one).\n"
           "      -o TEMPLATE  their names (default '{name} {n}.mp3'): {n} number,\n"
           "                   {name} FILE's base name, {title}, {artist}, {start},\n"
           "                   {end} (MM.SS.mmm). Characters no file system takes\n"
           "                   become '_'. Equal names, the input's name or existing\n"
           "                   files (without --force) are refused before writing.\n"
           "      --dry-run    prints the plan (as JSON with --json), writes nothing.\n"
           "      --write-cue  writes a cue sheet of the pieces for the unsplit FILE.\n"
           "      --chapters OUT  writes no pieces: a copy of FILE to OUT with an ID3v2\n"
           "                   chapter (CHAP, CTOC) where each piece would begin.\n"
           "      --normalize[=LUFS]  normalises every piece as cut does (default -18);\n"
           "                   --normalize-all gives all pieces the one gain of the\n"
           "                   whole stream, keeping their relative loudness.\n"
           "      --gain DB, --fade-in T, --fade-out T  as cut, on every piece.\n"
           "      Each piece's path is printed once it is complete.\n"
           "\n"
           "Several files: cut with -d DIR (names from -o, default\n"
           "'{name} {start}-{end}.mp3') and split apply the same cut or split to\n"
           "every FILE, in parallel up to the number of cores, with a progress line\n"
           "on a terminal (-q: none). Every output of every file is planned first:\n"
           "an output that is one of the inputs (also with --force) or that two\n"
           "outputs share refuses the whole run, before anything is written. A\n"
           "file's refusal or failure is printed with its reason and the others go\n"
           "on; --json prints one line per file. The exit code is the worst of the\n"
           "files'. A -d DIR that does not exist is made.\n"
           "\n"
           "Tag texts are kept in the code page of the locale's language (LC_ALL,\n"
           "LC_CTYPE, LANG), for example 1252 for western languages.\n"
           "\n"
           "'--' ends the options: every word after it is an operand, also one that\n"
           "begins with '-'.\n"
           "\n"
           "Exit codes: 0 done; 1 not an MP3 stream, or the cut was declined;\n"
           "2 wrong usage; 3 a file could not be read or written.\n";
}

int ExitOf(TOutcome outcome)
{
    return outcome == TOutcome::Done ? ExitOk : outcome == TOutcome::Declined ? ExitDeclined : ExitIoError;
}

int ExitOf(TCutStatus status)
{
    return ExitOf(OutcomeOf(status));
}

TOutcome OutcomeOfExit(int code)
{
    return code == ExitOk ? TOutcome::Done : code == ExitDeclined ? TOutcome::Declined : TOutcome::Failed;
}

void PrintError(std::string_view message)
{
    std::cerr << "vivizu-cli: " << message << '\n';
}

int UsageError(std::string_view message)
{
    PrintError(message);
    std::cerr << "Try 'vivizu-cli --help'.\n";
    return ExitUsage;
}

} // namespace vivizu
