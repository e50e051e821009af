; Vivizu language file: French.
; Section names and keys match without regard to case; everything after
; the first "=" of a line is its value. "#13#10" in Ms_NotSaveName starts a
; new line. The file is UTF-8. The About window's two addresses are filled
; in when the file is copied into the program folder.

[Messages]
Ms_Opening=Ouverture en cours, veuillez patienter...
Ms_Waiting=Enregistrement en cours, veuillez patienter...
Ms_Error=Erreur
Ms_Info=Information
Ms_Mono=Mono
Ms_Stereo=Stéréo
Ms_NotMP3=Ce fichier n'est pas un fichier MP3 pouvant être ouvert.
Ms_NotSaveName=La sélection ne peut pas être enregistrée dans le fichier dont elle provient. Choisissez un nom autre que :#13#10
Ms_NotSave=Impossible d'enregistrer la sélection.
Ms_SplitWriting=Écriture de la partie %1 sur %2...
Ms_SplitDone=%1 parties écrites dans %2.
Ms_NoSilence=Aucun silence trouvé ; rien n'a été écrit.
Ms_Preparing=Préparation du résultat, veuillez patienter...
Ms_NotPlay=Impossible de lire le résultat.
Ms_EmptySelection=La sélection est vide : le repère de fin n'est pas après le repère de début.
Ms_Saved=Enregistré sous %1.
Ms_SplitCancelled=Le découpage a été annulé.

[FrmMP3Editor]
Label11.Caption=Vivizu version 2.2.2
Label28.Caption=>> La&ngue
RzBmpButton1.Hint=Fermer
RzBmpButton2.Hint=Réduire
ImageStart.Hint=Faites glisser pour placer le repère de début
ImageEnd.Hint=Faites glisser pour placer le repère de fin
LabelStart.Caption=Repère de début
LabelEnd.Caption=Repère de fin
BtnPlayStart.Caption=&Lecture
BtnStop.Caption=&Arrêt
TabSheet2.Caption=Général
Label23.Caption=Taille :
Label13.Caption=Encodage :
Label14.Caption=Canaux :
Label15.Caption=Échantillonnage :
Label16.Caption=Débit :
Label17.Caption=Durée :
TabSheet1.Caption=Tag ID3v1
RzCheckBox1.Caption=Inclure le tag
Label3.Caption=Titre :
Label4.Caption=Artiste :
Label5.Caption=Album :
Label9.Caption=Genre :
Label8.Caption=Piste :
Label6.Caption=Année :
Label7.Caption=Commentaire :
Label25.Caption=Ouverture...
OpenDialog1.Title=Ouvrir un fichier MP3
OpenDialog1.Filter=Fichiers MP3|*.mp3
SaveDialog1.Title=Enregistrer le fichier MP3
SaveDialog1.Filter=Fichiers MP3|*.mp3
PM_English.Caption=Anglais
PM_Spanish.Caption=Espagnol
PM_German.Caption=Allemand
PM_Italian.Caption=Italien
PM_French.Caption=Français
Label29.Caption=>> &Options
PM_KeepID3v2.Caption=Conserver la balise ID3v2
PM_LengthHeader.Caption=Écrire l'en-tête de durée
PM_ExactCut.Caption=Coupe exacte (début propre)
PM_SnapToQuiet.Caption=Aimanter les marqueurs aux silences
PM_SplitSilence.Caption=Découper aux silences…
PM_Volume.Caption=Volume et fondus…
PM_RemoveSelection.Caption=Retirer la sélection (Suppr)
PM_Undo.Caption=Annuler (Ctrl+Z)
PM_Redo.Caption=Rétablir (Ctrl+Y)
PM_EditList.Caption=Liste de montage…
BtnOpenMp3.AccessibleName=Ouvrir
BtnOpenMp3.AccessibleDescription=Ouvre un fichier MP3 (Ctrl+O)
BtnSaveMp3.AccessibleName=Enregistrer sous
BtnSaveMp3.AccessibleDescription=Enregistre la sélection dans un nouveau fichier MP3 (Ctrl+S)
BtnAbout.AccessibleName=À propos
RzBmpButton1.AccessibleName=Fermer
RzBmpButton2.AccessibleName=Réduire
TrackBarPos.AccessibleName=Position
TrackBarPos.AccessibleDescription=Les flèches avancent d'une trame, Page précédente et Page suivante d'une seconde
RzMaskEdit1.AccessibleName=Repère de début
RzMaskEdit1.AccessibleDescription=Début de la sélection, heures:minutes:secondes.millisecondes
RzMaskEdit2.AccessibleName=Repère de fin
RzMaskEdit2.AccessibleDescription=Fin de la sélection, heures:minutes:secondes.millisecondes
OverviewBand.AccessibleName=Aperçu
OverviewSpeech.SelectionWords=Début %1, fin %2, durée %3 ; affiché de %4 à %5
OverviewSpeech.SnapStartWords=Début %1, placé dans un silence
OverviewSpeech.SnapEndWords=Fin %1, placée dans un silence
OverviewSpeech.RemovedWords=Passages retirés : %1 ; à enregistrer : %2
PM_WideOverview.Caption=Bande d'aperçu large
WideOverview.AccessibleName=Aperçu large

[FrmPlayMsg]
RadioButton1.Caption=Lire à partir du repère de début
RadioButton2.Caption=Lire à partir du repère de fin
RadioButton3.Caption=Lire à partir de la position actuelle
RadioButton4.Caption=Lire le résultat
BtnOk.Caption=&OK
BtnCancel.Caption=&Annuler
BtnSysClose.Hint=Fermer

[FrmAbout]
RzLabel1.Caption=Vivizu
RzLabel2.Caption=
RzURLLabel1.Caption=@VIVIZU_HOMEPAGE@
RzURLLabel2.Caption=@VIVIZU_EMAIL@
Label1.Caption=Copyright © 2026 les auteurs de Vivizu
BtnOk.Caption=&OK
BtnSysClose.Hint=Fermer

[FrmVolume]
LabelTitle.Caption=Volume
LabelGain.Caption=Gain (dB) :
LabelFadeIn.Caption=Fondu d'entrée (secondes) :
LabelFadeOut.Caption=Fondu de sortie (secondes) :
CheckNormalize.Caption=Normaliser à (LUFS) :
LabelLoudness.Caption=Sonie de la sélection :
BtnOk.Caption=&OK
BtnCancel.Caption=&Annuler
BtnSysClose.Hint=Fermer

[FrmEditList]
LabelTitle.Caption=Liste de montage
Headers=Début||Fin||Durée
KeptWords=À enregistrer : %1
ReadFailedWords=La liste de montage n'a pas pu être lue.
WriteFailedWords=La liste de montage n'a pas pu être écrite.
SameFileWords=c'est le fichier MP3 en cours de modification ; choisissez un autre nom
ErrorCaption=Erreur
ListRemoved.AccessibleName=Passages retirés
BtnPutBack.Caption=&Remettre
BtnImport.Caption=&Importer…
BtnExport.Caption=&Exporter…
BtnOk.Caption=&Fermer
BtnSysClose.Hint=Fermer
OpenDialog1.Title=Importer une liste de montage
OpenDialog1.Filter=Listes de montage (*.edl)|*.edl
SaveDialog1.Title=Exporter la liste de montage
SaveDialog1.Filter=Listes de montage (*.edl)|*.edl
[FrmSplit]
LabelTitle.Caption=Découper aux silences
LabelThreshold.Caption=Silence sous (dBFS) :
LabelMinPause.Caption=Pause minimale (secondes) :
LabelPieces.Caption=Parties :
SpinThreshold.AccessibleName=Seuil de silence en dBFS
SpinMinPause.AccessibleName=Pause minimale en secondes
LabelPiecesValue.AccessibleName=Nombre de parties
BtnOk.Caption=&OK
BtnCancel.Caption=&Annuler
BtnSysClose.Hint=Fermer
