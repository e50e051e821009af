; Vivizu language file: English.
; Section names and keys match without regard to case; everything after
; the first "=" of a line is its value. "#13#10" in Ms_NotSaveName starts a
; new line.

[Messages]
Ms_Opening=Opening, please wait...
Ms_Waiting=Saving, please wait...
Ms_Error=Error
Ms_Info=Information
Ms_Mono=Mono
Ms_Stereo=Stereo
Ms_NotMP3=This file is not an MP3 file that can be opened.
Ms_NotSaveName=The selection cannot be saved over the file it comes from. Please choose another name than:#13#10
Ms_NotSave=The selection could not be saved.
