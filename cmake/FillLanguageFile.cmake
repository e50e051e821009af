# cmake -DIN=... -DOUT=... -DVIVIZU_HOMEPAGE=... -DVIVIZU_EMAIL=... -P FillLanguageFile.cmake
# Copies a language file with the About window's addresses filled in.
configure_file(${IN} ${OUT} @ONLY)
