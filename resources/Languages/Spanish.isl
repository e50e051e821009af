; Vivizu language file: Spanish.
; Section names and keys match without regard to case; everything after
; the first "=" of a line is its value. "#13#10" in Ms_NotSaveName starts a
; new line. The file is UTF-8. The About window's two addresses are filled
; in when the file is copied into the program folder.

[Messages]
Ms_Opening=Abriendo, espere un momento...
Ms_Waiting=Guardando, espere un momento...
Ms_Error=Error
Ms_Info=Información
Ms_Mono=Mono
Ms_Stereo=Estéreo
Ms_NotMP3=Este archivo no es un archivo MP3 que se pueda abrir.
Ms_NotSaveName=La selección no se puede guardar sobre el archivo del que procede. Elija un nombre distinto de:#13#10
Ms_NotSave=No se ha podido guardar la selección.
Ms_SplitWriting=Escribiendo la pieza %1 de %2...
Ms_SplitDone=Se escribieron %1 piezas en %2.
Ms_NoSilence=No se encontró ningún silencio; no se escribió nada.
Ms_Preparing=Preparando el resultado, espere un momento...
Ms_NotPlay=No se ha podido reproducir el resultado.
Ms_EmptySelection=La selección está vacía: la marca de fin no está después de la marca de inicio.
Ms_Saved=Guardado como %1.
Ms_SplitCancelled=Se canceló la división.

[FrmMP3Editor]
Label11.Caption=Vivizu versión 2.2.2
Label28.Caption=>> &Idioma
RzBmpButton1.Hint=Cerrar
RzBmpButton2.Hint=Minimizar
ImageStart.Hint=Arrastre para fijar la marca de inicio
ImageEnd.Hint=Arrastre para fijar la marca de fin
LabelStart.Caption=Marca de inicio
LabelEnd.Caption=Marca de fin
BtnPlayStart.Caption=&Escuchar
BtnStop.Caption=&Detener
TabSheet2.Caption=General
Label23.Caption=Tamaño:
Label13.Caption=Codificación:
Label14.Caption=Canales:
Label15.Caption=Frecuencia:
Label16.Caption=Tasa de bits:
Label17.Caption=Duración:
TabSheet1.Caption=Etiqueta ID3v1
RzCheckBox1.Caption=Incluir la etiqueta
Label3.Caption=Título:
Label4.Caption=Artista:
Label5.Caption=Álbum:
Label9.Caption=Género:
Label8.Caption=Pista:
Label6.Caption=Año:
Label7.Caption=Comentario:
Label25.Caption=Abriendo...
OpenDialog1.Title=Abrir archivo MP3
OpenDialog1.Filter=Archivos MP3|*.mp3
SaveDialog1.Title=Guardar archivo MP3
SaveDialog1.Filter=Archivos MP3|*.mp3
PM_English.Caption=Inglés
PM_Spanish.Caption=Español
PM_German.Caption=Alemán
PM_Italian.Caption=Italiano
PM_French.Caption=Francés
Label29.Caption=>> &Opciones
PM_KeepID3v2.Caption=Conservar etiqueta ID3v2
PM_LengthHeader.Caption=Escribir cabecera de duración
PM_ExactCut.Caption=Corte exacto (inicio limpio)
PM_SnapToQuiet.Caption=Ajustar los marcadores al silencio
PM_SplitSilence.Caption=Dividir en los silencios…
PM_Volume.Caption=Volumen y fundidos…
PM_RemoveSelection.Caption=Quitar la selección (Supr)
PM_Undo.Caption=Deshacer (Ctrl+Z)
PM_Redo.Caption=Rehacer (Ctrl+Y)
PM_EditList.Caption=Lista de edición…
BtnOpenMp3.AccessibleName=Abrir
BtnOpenMp3.AccessibleDescription=Abre un archivo MP3 (Ctrl+O)
BtnSaveMp3.AccessibleName=Guardar como
BtnSaveMp3.AccessibleDescription=Guarda la selección en un nuevo archivo MP3 (Ctrl+S)
BtnAbout.AccessibleName=Acerca de
RzBmpButton1.AccessibleName=Cerrar
RzBmpButton2.AccessibleName=Minimizar
TrackBarPos.AccessibleName=Posición
TrackBarPos.AccessibleDescription=Las flechas avanzan un cuadro, Re Pág y Av Pág un segundo
RzMaskEdit1.AccessibleName=Marca de inicio
RzMaskEdit1.AccessibleDescription=Inicio de la selección, horas:minutos:segundos.milisegundos
RzMaskEdit2.AccessibleName=Marca de fin
RzMaskEdit2.AccessibleDescription=Fin de la selección, horas:minutos:segundos.milisegundos
OverviewBand.AccessibleName=Vista general
OverviewSpeech.SelectionWords=Inicio %1, fin %2, duración %3; se muestra de %4 a %5
OverviewSpeech.SnapStartWords=Inicio %1, ajustado a una pausa
OverviewSpeech.SnapEndWords=Fin %1, ajustado a una pausa
OverviewSpeech.RemovedWords=Tramos quitados: %1; para guardar: %2
PM_WideOverview.Caption=Franja de vista general ancha
WideOverview.AccessibleName=Vista general ancha

[FrmPlayMsg]
RadioButton1.Caption=Reproducir desde la marca de inicio
RadioButton2.Caption=Reproducir desde la marca de fin
RadioButton3.Caption=Reproducir desde la posición actual
RadioButton4.Caption=Reproducir el resultado
BtnOk.Caption=&Aceptar
BtnCancel.Caption=&Cancelar
BtnSysClose.Hint=Cerrar

[FrmAbout]
RzLabel1.Caption=Vivizu
RzLabel2.Caption=
RzURLLabel1.Caption=@VIVIZU_HOMEPAGE@
RzURLLabel2.Caption=@VIVIZU_EMAIL@
Label1.Caption=Copyright © 2026 los autores de Vivizu
BtnOk.Caption=&Aceptar
BtnSysClose.Hint=Cerrar

[FrmVolume]
LabelTitle.Caption=Volumen
LabelGain.Caption=Ganancia (dB):
LabelFadeIn.Caption=Fundido de entrada (segundos):
LabelFadeOut.Caption=Fundido de salida (segundos):
CheckNormalize.Caption=Normalizar a (LUFS):
LabelLoudness.Caption=Sonoridad de la selección:
BtnOk.Caption=&Aceptar
BtnCancel.Caption=&Cancelar
BtnSysClose.Hint=Cerrar

[FrmEditList]
LabelTitle.Caption=Lista de edición
Headers=Inicio||Fin||Duración
KeptWords=Para guardar: %1
ReadFailedWords=No se pudo leer la lista de edición.
WriteFailedWords=No se pudo escribir la lista de edición.
SameFileWords=es el archivo MP3 que se está editando; elija otro nombre
ErrorCaption=Error
ListRemoved.AccessibleName=Tramos quitados
BtnPutBack.Caption=&Restaurar
BtnImport.Caption=&Importar…
BtnExport.Caption=&Exportar…
BtnOk.Caption=&Cerrar
BtnSysClose.Hint=Cerrar
OpenDialog1.Title=Importar lista de edición
OpenDialog1.Filter=Listas de edición (*.edl)|*.edl
SaveDialog1.Title=Exportar lista de edición
SaveDialog1.Filter=Listas de edición (*.edl)|*.edl
[FrmSplit]
LabelTitle.Caption=Dividir en los silencios
LabelThreshold.Caption=Silencio bajo (dBFS):
LabelMinPause.Caption=Pausa mínima (segundos):
LabelPieces.Caption=Piezas:
SpinThreshold.AccessibleName=Umbral de silencio en dBFS
SpinMinPause.AccessibleName=Pausa mínima en segundos
LabelPiecesValue.AccessibleName=Número de piezas
BtnOk.Caption=&Aceptar
BtnCancel.Caption=&Cancelar
BtnSysClose.Hint=Cerrar
