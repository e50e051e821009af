"""The About window's skin: header band with the headphone picture, white
body for the links, pale band for the notice and the OK button."""

from palette import ACCENT, ACCENT_PALE, WHITE
from skin import header_band, header_defs, headphones

WIDTH, HEIGHT = 418, 283
HEADER = 105          # height of the header band (the caption strip covers it)
BAND = 205            # top of the pale band under the links


def about_svg():
    glow = f'<ellipse cx="{WIDTH / 2}" cy="52" rx="150" ry="60" fill="url(#glow)"/>'
    return f"""<svg xmlns="http://www.w3.org/2000/svg" width="{WIDTH}" height="{HEIGHT}" viewBox="0 0 {WIDTH} {HEIGHT}">
{header_defs()}
  <rect width="{WIDTH}" height="{HEIGHT}" fill="{WHITE}"/>
  <rect x="0" y="{HEADER}" width="2" height="{BAND - HEADER}" fill="{ACCENT_PALE}"/>
  <rect x="{WIDTH - 2}" y="{HEADER}" width="2" height="{BAND - HEADER}" fill="{ACCENT_PALE}"/>
{header_band(WIDTH, HEADER, glow)}
  {headphones(22, 18, 70)}
  <rect y="{BAND}" width="{WIDTH}" height="{HEIGHT - BAND}" fill="{ACCENT_PALE}"/>
  <rect y="{BAND}" width="{WIDTH}" height="1" fill="{ACCENT}" fill-opacity="0.35"/>
</svg>
"""
