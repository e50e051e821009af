; Vivizu language file: German.
; Section names and keys match without regard to case; everything after
; the first "=" of a line is its value. "#13#10" in Ms_NotSaveName starts a
; new line. The file is UTF-8. The About window's two addresses are filled
; in when the file is copied into the program folder.

[Messages]
Ms_Opening=Datei wird geöffnet, bitte warten...
Ms_Waiting=Wird gespeichert, bitte warten...
Ms_Error=Fehler
Ms_Info=Hinweis
Ms_Mono=Mono
Ms_Stereo=Stereo
Ms_NotMP3=Diese Datei ist keine MP3-Datei, die sich öffnen lässt.
Ms_NotSaveName=Die Auswahl kann nicht in die Datei gespeichert werden, aus der sie stammt. Bitte wählen Sie einen anderen Namen als:#13#10
Ms_NotSave=Die Auswahl konnte nicht gespeichert werden.
Ms_SplitWriting=Schreibe Teil %1 von %2...
Ms_SplitDone=%1 Teile wurden in %2 geschrieben.
Ms_NoSilence=Keine Stille gefunden; es wurde nichts geschrieben.
Ms_Preparing=Ergebnis wird vorbereitet, bitte warten...
Ms_NotPlay=Das Ergebnis konnte nicht abgespielt werden.
Ms_EmptySelection=Die Auswahl ist leer: Die Endmarke liegt nicht nach der Startmarke.
Ms_Saved=Gespeichert als %1.
Ms_SplitCancelled=Das Teilen wurde abgebrochen.

[FrmMP3Editor]
Label11.Caption=Vivizu Version 2.2.2
Label28.Caption=>> S&prache
RzBmpButton1.Hint=Schließen
RzBmpButton2.Hint=Minimieren
ImageStart.Hint=Ziehen, um die Startmarke zu setzen
ImageEnd.Hint=Ziehen, um die Endmarke zu setzen
LabelStart.Caption=Startmarke
LabelEnd.Caption=Endmarke
BtnPlayStart.Caption=&Anhören
BtnStop.Caption=&Stopp
TabSheet2.Caption=Allgemein
Label23.Caption=Dateigröße:
Label13.Caption=Kodierung:
Label14.Caption=Kanäle:
Label15.Caption=Abtastrate:
Label16.Caption=Bitrate:
Label17.Caption=Dauer:
TabSheet1.Caption=ID3v1-Tag
RzCheckBox1.Caption=Tag mitspeichern
Label3.Caption=Titel:
Label4.Caption=Interpret:
Label5.Caption=Album:
Label9.Caption=Genre:
Label8.Caption=Titelnr.:
Label6.Caption=Jahr:
Label7.Caption=Kommentar:
Label25.Caption=Wird geöffnet...
OpenDialog1.Title=MP3-Datei öffnen
OpenDialog1.Filter=MP3-Dateien|*.mp3
SaveDialog1.Title=MP3-Datei speichern
SaveDialog1.Filter=MP3-Dateien|*.mp3
PM_English.Caption=Englisch
PM_Spanish.Caption=Spanisch
PM_German.Caption=Deutsch
PM_Italian.Caption=Italienisch
PM_French.Caption=Französisch
Label29.Caption=>> &Optionen
PM_KeepID3v2.Caption=ID3v2-Tag behalten
PM_LengthHeader.Caption=Längen-Header schreiben
PM_ExactCut.Caption=Exakter Schnitt (sauberer Anfang)
PM_SnapToQuiet.Caption=Marken an Stille ausrichten
PM_SplitSilence.Caption=An Stillen teilen…
PM_Volume.Caption=Lautstärke und Blenden…
PM_RemoveSelection.Caption=Auswahl entfernen (Entf)
PM_Undo.Caption=Rückgängig (Strg+Z)
PM_Redo.Caption=Wiederherstellen (Strg+Y)
PM_EditList.Caption=Schnittliste…
BtnOpenMp3.AccessibleName=Öffnen
BtnOpenMp3.AccessibleDescription=Öffnet eine MP3-Datei (Strg+O)
BtnSaveMp3.AccessibleName=Speichern unter
BtnSaveMp3.AccessibleDescription=Speichert die Auswahl als neue MP3-Datei (Strg+S)
BtnAbout.AccessibleName=Über Vivizu
RzBmpButton1.AccessibleName=Schließen
RzBmpButton2.AccessibleName=Minimieren
TrackBarPos.AccessibleName=Position
TrackBarPos.AccessibleDescription=Pfeiltasten bewegen um einen Frame, Bild auf und Bild ab um eine Sekunde
RzMaskEdit1.AccessibleName=Startmarke
RzMaskEdit1.AccessibleDescription=Anfang der Auswahl, Stunden:Minuten:Sekunden.Millisekunden
RzMaskEdit2.AccessibleName=Endmarke
RzMaskEdit2.AccessibleDescription=Ende der Auswahl, Stunden:Minuten:Sekunden.Millisekunden
OverviewBand.AccessibleName=Übersicht
OverviewSpeech.SelectionWords=Anfang %1, Ende %2, Länge %3; angezeigt %4 bis %5
OverviewSpeech.SnapStartWords=Anfang %1, in eine Pause gerückt
OverviewSpeech.SnapEndWords=Ende %1, in eine Pause gerückt
OverviewSpeech.RemovedWords=Entfernte Abschnitte: %1; zu speichern: %2
PM_WideOverview.Caption=Breiter Übersichtsstreifen
WideOverview.AccessibleName=Breite Übersicht

[FrmPlayMsg]
RadioButton1.Caption=Ab der Startmarke abspielen
RadioButton2.Caption=Ab der Endmarke abspielen
RadioButton3.Caption=Ab der aktuellen Position abspielen
RadioButton4.Caption=Ergebnis abspielen
BtnOk.Caption=&OK
BtnCancel.Caption=&Abbrechen
BtnSysClose.Hint=Schließen

[FrmAbout]
RzLabel1.Caption=Vivizu
RzLabel2.Caption=
RzURLLabel1.Caption=@VIVIZU_HOMEPAGE@
RzURLLabel2.Caption=@VIVIZU_EMAIL@
Label1.Caption=Copyright © 2026 die Vivizu-Autoren
BtnOk.Caption=&OK
BtnSysClose.Hint=Schließen

[FrmVolume]
LabelTitle.Caption=Lautstärke
LabelGain.Caption=Verstärkung (dB):
LabelFadeIn.Caption=Einblenden (Sekunden):
LabelFadeOut.Caption=Ausblenden (Sekunden):
CheckNormalize.Caption=Normalisieren auf (LUFS):
LabelLoudness.Caption=Lautheit der Auswahl:
BtnOk.Caption=&OK
BtnCancel.Caption=&Abbrechen
BtnSysClose.Hint=Schließen

[FrmEditList]
LabelTitle.Caption=Schnittliste
Headers=Anfang||Ende||Länge
KeptWords=Zu speichern: %1
ReadFailedWords=Die Schnittliste konnte nicht gelesen werden.
WriteFailedWords=Die Schnittliste konnte nicht geschrieben werden.
SameFileWords=das ist die MP3-Datei, die gerade bearbeitet wird; bitte einen anderen Namen wählen
ErrorCaption=Fehler
ListRemoved.AccessibleName=Entfernte Abschnitte
BtnPutBack.Caption=&Zurückholen
BtnImport.Caption=&Importieren…
BtnExport.Caption=&Exportieren…
BtnOk.Caption=S&chließen
BtnSysClose.Hint=Schließen
OpenDialog1.Title=Schnittliste importieren
OpenDialog1.Filter=Schnittlisten (*.edl)|*.edl
SaveDialog1.Title=Schnittliste exportieren
SaveDialog1.Filter=Schnittlisten (*.edl)|*.edl
[FrmSplit]
LabelTitle.Caption=An Stillen teilen
LabelThreshold.Caption=Stille unter (dBFS):
LabelMinPause.Caption=Kürzeste Pause (Sekunden):
LabelPieces.Caption=Teile:
SpinThreshold.AccessibleName=Stilleschwelle in dBFS
SpinMinPause.AccessibleName=Kürzeste Pause in Sekunden
LabelPiecesValue.AccessibleName=Anzahl der Teile
BtnOk.Caption=&OK
BtnCancel.Caption=&Abbrechen
BtnSysClose.Hint=Schließen
