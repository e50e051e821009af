"""Colours shared by every picture of the main window."""

ACCENT = "#3298CC"        # the window's accent: frames, bands, buttons (50, 152, 204)
ACCENT_LIGHT = "#48AEE0"  # top of the header gradient
ACCENT_DARK = "#2681B3"   # bottom of the header gradient, bottom band
ACCENT_DEEP = "#1D6690"   # edges and shadows drawn on the accent
ACCENT_PALE = "#D3E9F5"   # accent tint on white (thin body frame)
CUSHION = "#CFE7F5"       # ear cushions of the headphone picture
GREEN = "#23A455"         # start marker, "valid file" state
GREEN_LIGHT = "#4BD17F"
RED = "#D8413A"           # end marker, close button hover
RED_LIGHT = "#EF6A5F"
GREY = "#9BA6AE"          # disabled markers, "no file" state
GREY_LIGHT = "#C3CBD1"
WHITE = "#FFFFFF"

FONT = "DejaVu Sans"      # the words on the picture buttons (fonts-dejavu-core)
