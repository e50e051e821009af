; Vivizu language file: Italian.
; Section names and keys match without regard to case; everything after
; the first "=" of a line is its value. "#13#10" in Ms_NotSaveName starts a
; new line. The file is UTF-8. The About window's two addresses are filled
; in when the file is copied into the program folder.

[Messages]
Ms_Opening=Apertura in corso, attendere...
Ms_Waiting=Salvataggio in corso, attendere...
Ms_Error=Errore
Ms_Info=Informazione
Ms_Mono=Mono
Ms_Stereo=Stereo
Ms_NotMP3=Questo file non è un file MP3 che si possa aprire.
Ms_NotSaveName=La selezione non può essere salvata sul file da cui proviene. Scegliere un nome diverso da:#13#10
Ms_NotSave=Impossibile salvare la selezione.
Ms_SplitWriting=Scrittura della parte %1 di %2...
Ms_SplitDone=%1 parti scritte in %2.
Ms_NoSilence=Nessun silenzio trovato; non è stato scritto nulla.
Ms_Preparing=Preparazione del risultato, attendere...
Ms_NotPlay=Impossibile riprodurre il risultato.
Ms_EmptySelection=La selezione è vuota: il punto finale non è dopo il punto iniziale.
Ms_Saved=Salvato come %1.
Ms_SplitCancelled=La divisione è stata annullata.

[FrmMP3Editor]
Label11.Caption=Vivizu versione 2.2.2
Label28.Caption=>> &Lingua
RzBmpButton1.Hint=Chiudi
RzBmpButton2.Hint=Riduci a icona
ImageStart.Hint=Trascina per impostare il punto iniziale
ImageEnd.Hint=Trascina per impostare il punto finale
LabelStart.Caption=Punto iniziale
LabelEnd.Caption=Punto finale
BtnPlayStart.Caption=&Riproduci
BtnStop.Caption=&Ferma
TabSheet2.Caption=Generale
Label23.Caption=Dimensione:
Label13.Caption=Codifica:
Label14.Caption=Canali:
Label15.Caption=Campionamento:
Label16.Caption=Bitrate:
Label17.Caption=Durata:
TabSheet1.Caption=Tag ID3v1
RzCheckBox1.Caption=Includi il tag
Label3.Caption=Titolo:
Label4.Caption=Artista:
Label5.Caption=Album:
Label9.Caption=Genere:
Label8.Caption=Traccia:
Label6.Caption=Anno:
Label7.Caption=Commento:
Label25.Caption=Apertura...
OpenDialog1.Title=Apri file MP3
OpenDialog1.Filter=File MP3|*.mp3
SaveDialog1.Title=Salva file MP3
SaveDialog1.Filter=File MP3|*.mp3
PM_English.Caption=Inglese
PM_Spanish.Caption=Spagnolo
PM_German.Caption=Tedesco
PM_Italian.Caption=Italiano
PM_French.Caption=Francese
Label29.Caption=>> &Opzioni
PM_KeepID3v2.Caption=Mantieni tag ID3v2
PM_LengthHeader.Caption=Scrivi intestazione di durata
PM_ExactCut.Caption=Taglio esatto (inizio pulito)
PM_SnapToQuiet.Caption=Aggancia i marcatori al silenzio
PM_SplitSilence.Caption=Dividi ai silenzi…
PM_Volume.Caption=Volume e dissolvenze…
PM_RemoveSelection.Caption=Rimuovi la selezione (Canc)
PM_Undo.Caption=Annulla (Ctrl+Z)
PM_Redo.Caption=Ripeti (Ctrl+Y)
PM_EditList.Caption=Lista di montaggio…
BtnOpenMp3.AccessibleName=Apri
BtnOpenMp3.AccessibleDescription=Apre un file MP3 (Ctrl+O)
BtnSaveMp3.AccessibleName=Salva con nome
BtnSaveMp3.AccessibleDescription=Salva la selezione in un nuovo file MP3 (Ctrl+S)
BtnAbout.AccessibleName=Informazioni
RzBmpButton1.AccessibleName=Chiudi
RzBmpButton2.AccessibleName=Riduci a icona
TrackBarPos.AccessibleName=Posizione
TrackBarPos.AccessibleDescription=Le frecce spostano di un frame, Pagina su e Pagina giù di un secondo
RzMaskEdit1.AccessibleName=Segno di inizio
RzMaskEdit1.AccessibleDescription=Inizio della selezione, ore:minuti:secondi.millisecondi
RzMaskEdit2.AccessibleName=Segno di fine
RzMaskEdit2.AccessibleDescription=Fine della selezione, ore:minuti:secondi.millisecondi
OverviewBand.AccessibleName=Panoramica
OverviewSpeech.SelectionWords=Inizio %1, fine %2, durata %3; visibile da %4 a %5
OverviewSpeech.SnapStartWords=Inizio %1, spostato in una pausa
OverviewSpeech.SnapEndWords=Fine %1, spostata in una pausa
OverviewSpeech.RemovedWords=Tratti rimossi: %1; da salvare: %2
PM_WideOverview.Caption=Striscia panoramica larga
WideOverview.AccessibleName=Panoramica larga

[FrmPlayMsg]
RadioButton1.Caption=Riproduci dal punto iniziale
RadioButton2.Caption=Riproduci dal punto finale
RadioButton3.Caption=Riproduci dalla posizione attuale
RadioButton4.Caption=Riproduci il risultato
BtnOk.Caption=&OK
BtnCancel.Caption=&Annulla
BtnSysClose.Hint=Chiudi

[FrmAbout]
RzLabel1.Caption=Vivizu
RzLabel2.Caption=
RzURLLabel1.Caption=@VIVIZU_HOMEPAGE@
RzURLLabel2.Caption=@VIVIZU_EMAIL@
Label1.Caption=Copyright © 2026 gli autori di Vivizu
BtnOk.Caption=&OK
BtnSysClose.Hint=Chiudi

[FrmVolume]
LabelTitle.Caption=Volume
LabelGain.Caption=Guadagno (dB):
LabelFadeIn.Caption=Dissolvenza in entrata (secondi):
LabelFadeOut.Caption=Dissolvenza in uscita (secondi):
CheckNormalize.Caption=Normalizza a (LUFS):
LabelLoudness.Caption=Volume percepito della selezione:
BtnOk.Caption=&OK
BtnCancel.Caption=&Annulla
BtnSysClose.Hint=Chiudi

[FrmEditList]
LabelTitle.Caption=Lista di montaggio
Headers=Inizio||Fine||Durata
KeptWords=Da salvare: %1
ReadFailedWords=Impossibile leggere la lista di montaggio.
WriteFailedWords=Impossibile scrivere la lista di montaggio.
SameFileWords=è il file MP3 in modifica; scegliere un altro nome
ErrorCaption=Errore
ListRemoved.AccessibleName=Tratti rimossi
BtnPutBack.Caption=&Ripristina
BtnImport.Caption=&Importa…
BtnExport.Caption=&Esporta…
BtnOk.Caption=&Chiudi
BtnSysClose.Hint=Chiudi
OpenDialog1.Title=Importa lista di montaggio
OpenDialog1.Filter=Liste di montaggio (*.edl)|*.edl
SaveDialog1.Title=Esporta lista di montaggio
SaveDialog1.Filter=Liste di montaggio (*.edl)|*.edl
[FrmSplit]
LabelTitle.Caption=Dividi ai silenzi
LabelThreshold.Caption=Silenzio sotto (dBFS):
LabelMinPause.Caption=Pausa minima (secondi):
LabelPieces.Caption=Parti:
SpinThreshold.AccessibleName=Soglia del silenzio in dBFS
SpinMinPause.AccessibleName=Pausa minima in secondi
LabelPiecesValue.AccessibleName=Numero di parti
BtnOk.Caption=&OK
BtnCancel.Caption=&Annulla
BtnSysClose.Hint=Chiudi
