; Vivizu language file: English.
; Section names and keys match without regard to case; everything after
; the first "=" of a line is its value. "#13#10" in Ms_NotSaveName starts a
; new line. The file is UTF-8. The About window's two addresses are filled
; in when the file is copied into the program folder.

[Messages]
Ms_Opening=Opening, please wait...
Ms_Waiting=Saving, please wait...
Ms_Error=Error
Ms_Info=Information
Ms_Mono=Mono
Ms_Stereo=Stereo
Ms_NotMP3=This file is not an MP3 file that can be opened.
Ms_NotSaveName=The selection cannot be saved over the file it comes from. Please choose a name other than:#13#10
Ms_NotSave=The selection could not be saved.
Ms_SplitWriting=Writing piece %1 of %2...
Ms_SplitDone=%1 pieces were written into %2.
Ms_NoSilence=No silence was found; nothing was written.
Ms_Preparing=Preparing the result, please wait...
Ms_NotPlay=The result could not be played.
Ms_EmptySelection=The selection is empty: the end tag is not after the start tag.
Ms_Saved=Saved as %1.
Ms_SplitCancelled=The split was cancelled.

[FrmMP3Editor]
Label11.Caption=Vivizu version 2.2.2
Label28.Caption=>> &Language
RzBmpButton1.Hint=Close
RzBmpButton2.Hint=Minimize
ImageStart.Hint=Drag to set start tag
ImageEnd.Hint=Drag to set end tag
LabelStart.Caption=Start tag
LabelEnd.Caption=End tag
BtnPlayStart.Caption=&Play
BtnStop.Caption=&Stop
TabSheet2.Caption=Standard
Label23.Caption=File size:
Label13.Caption=Encoding:
Label14.Caption=Channel:
Label15.Caption=SampleRate:
Label16.Caption=Bitrate:
Label17.Caption=Length:
TabSheet1.Caption=ID3Tags V1
RzCheckBox1.Caption=Include
Label3.Caption=Title:
Label4.Caption=Artist:
Label5.Caption=Album:
Label9.Caption=Genre:
Label8.Caption=TrackNumber:
Label6.Caption=Year:
Label7.Caption=Comment:
Label25.Caption=Opening......
OpenDialog1.Title=Open MP3 file
OpenDialog1.Filter=MP3(*.mp3)|*.mp3
SaveDialog1.Title=Save Mp3 file
SaveDialog1.Filter=MP3(*.mp3)|*.mp3
PM_English.Caption=English
PM_Spanish.Caption=Spanish
PM_German.Caption=German
PM_Italian.Caption=Italian
PM_French.Caption=French
Label29.Caption=>> &Options
PM_KeepID3v2.Caption=Keep ID3v2 tag
PM_LengthHeader.Caption=Write length header
PM_ExactCut.Caption=Exact cut (clean start)
PM_SnapToQuiet.Caption=Snap markers to quiet
PM_SplitSilence.Caption=Split at silences…
PM_Volume.Caption=Volume and fades…
PM_RemoveSelection.Caption=Remove selection (Del)
PM_Undo.Caption=Undo (Ctrl+Z)
PM_Redo.Caption=Redo (Ctrl+Y)
PM_EditList.Caption=Edit list…
BtnOpenMp3.AccessibleName=Open
BtnOpenMp3.AccessibleDescription=Opens an MP3 file (Ctrl+O)
BtnSaveMp3.AccessibleName=Save As
BtnSaveMp3.AccessibleDescription=Saves the selection as a new MP3 file (Ctrl+S)
BtnAbout.AccessibleName=About
RzBmpButton1.AccessibleName=Close
RzBmpButton2.AccessibleName=Minimize
TrackBarPos.AccessibleName=Position
TrackBarPos.AccessibleDescription=Arrow keys move by one frame, Page Up and Page Down by one second
RzMaskEdit1.AccessibleName=Start tag
RzMaskEdit1.AccessibleDescription=Start of the selection, hours:minutes:seconds.milliseconds
RzMaskEdit2.AccessibleName=End tag
RzMaskEdit2.AccessibleDescription=End of the selection, hours:minutes:seconds.milliseconds
OverviewBand.AccessibleName=Overview
OverviewSpeech.SelectionWords=Start %1, end %2, length %3; showing %4 to %5
OverviewSpeech.SnapStartWords=Start %1, snapped into a pause
OverviewSpeech.SnapEndWords=End %1, snapped into a pause
OverviewSpeech.RemovedWords=Removed stretches: %1; to save: %2
PM_WideOverview.Caption=Wide overview strip
WideOverview.AccessibleName=Wide overview

[FrmPlayMsg]
RadioButton1.Caption=Play from Start Tag
RadioButton2.Caption=Play from End Tag
RadioButton3.Caption=Play from Current
RadioButton4.Caption=Play the result
BtnOk.Caption=&Ok
BtnCancel.Caption=&Cancel
BtnSysClose.Hint=Close

[FrmAbout]
RzLabel1.Caption=Vivizu
RzLabel2.Caption=
RzURLLabel1.Caption=@VIVIZU_HOMEPAGE@
RzURLLabel2.Caption=@VIVIZU_EMAIL@
Label1.Caption=Copyright © 2026 the Vivizu authors
BtnOk.Caption=&Ok
BtnSysClose.Hint=Close

[FrmVolume]
LabelTitle.Caption=Volume
LabelGain.Caption=Gain (dB):
LabelFadeIn.Caption=Fade in (seconds):
LabelFadeOut.Caption=Fade out (seconds):
CheckNormalize.Caption=Normalise to (LUFS):
LabelLoudness.Caption=Selection loudness:
BtnOk.Caption=&Ok
BtnCancel.Caption=&Cancel
BtnSysClose.Hint=Close

[FrmEditList]
LabelTitle.Caption=Edit list
Headers=Start||End||Length
KeptWords=To be saved: %1
ReadFailedWords=The edit list could not be read.
WriteFailedWords=The edit list could not be written.
SameFileWords=this is the MP3 file being edited; choose another name
ErrorCaption=Error
ListRemoved.AccessibleName=Removed stretches
BtnPutBack.Caption=&Put back
BtnImport.Caption=&Import…
BtnExport.Caption=&Export…
BtnOk.Caption=&Close
BtnSysClose.Hint=Close
OpenDialog1.Title=Import edit list
OpenDialog1.Filter=Edit decision lists (*.edl)|*.edl
SaveDialog1.Title=Export edit list
SaveDialog1.Filter=Edit decision lists (*.edl)|*.edl
[FrmSplit]
LabelTitle.Caption=Split at silences
LabelThreshold.Caption=Silence below (dBFS):
LabelMinPause.Caption=Shortest pause (seconds):
LabelPieces.Caption=Pieces:
SpinThreshold.AccessibleName=Silence threshold in dBFS
SpinMinPause.AccessibleName=Shortest pause in seconds
LabelPiecesValue.AccessibleName=Number of pieces
BtnOk.Caption=&Ok
BtnCancel.Caption=&Cancel
BtnSysClose.Hint=Close
