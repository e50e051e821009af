"""The About window's skin: header band with the headphone picture, white
body for the links, pale band for the notice and the OK button."""

from palette import ACCENT, ACCENT_DARK, ACCENT_DEEP, ACCENT_LIGHT, ACCENT_PALE, WHITE
from skin import headphones

WIDTH, HEIGHT = 418, 283
HEADER = 105          # height of the header band (the caption strip covers it)
BAND = 205            # top of the pale band under the links


def about_svg():
    return f"""<svg xmlns="http://www.w3.org/2000/svg" width="{WIDTH}" height="{HEIGHT}" viewBox="0 0 {WIDTH} {HEIGHT}">
  <defs>
    <linearGradient id="head" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="{ACCENT_LIGHT}"/>
      <stop offset="0.55" stop-color="{ACCENT}"/>
      <stop offset="1" stop-color="{ACCENT_DARK}"/>
    </linearGradient>
    <linearGradient id="drop" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="{ACCENT_DEEP}" stop-opacity="0.18"/>
      <stop offset="1" stop-color="{ACCENT_DEEP}" stop-opacity="0"/>
    </linearGradient>
    <linearGradient id="shell" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="{WHITE}"/>
      <stop offset="1" stop-color="#E2F0F9"/>
    </linearGradient>
    <radialGradient id="glow" cx="0.5" cy="0.5" r="0.5">
      <stop offset="0" stop-color="{WHITE}" stop-opacity="0.22"/>
      <stop offset="1" stop-color="{WHITE}" stop-opacity="0"/>
    </radialGradient>
    <filter id="soft" x="-20%" y="-20%" width="140%" height="150%">
      <feGaussianBlur in="SourceAlpha" stdDeviation="2"/>
      <feOffset dy="2" result="blur"/>
      <feFlood flood-color="{ACCENT_DEEP}" flood-opacity="0.45"/>
      <feComposite in2="blur" operator="in"/>
      <feMerge><feMergeNode/><feMergeNode in="SourceGraphic"/></feMerge>
    </filter>
  </defs>
  <rect width="{WIDTH}" height="{HEIGHT}" fill="{WHITE}"/>
  <rect x="0" y="{HEADER}" width="2" height="{BAND - HEADER}" fill="{ACCENT_PALE}"/>
  <rect x="{WIDTH - 2}" y="{HEADER}" width="2" height="{BAND - HEADER}" fill="{ACCENT_PALE}"/>
  <rect width="{WIDTH}" height="{HEADER}" fill="url(#head)"/>
  <ellipse cx="{WIDTH / 2}" cy="52" rx="150" ry="60" fill="url(#glow)"/>
  <rect y="0" width="{WIDTH}" height="1" fill="{WHITE}" fill-opacity="0.25"/>
  <rect y="{HEADER - 1}" width="{WIDTH}" height="1" fill="{ACCENT_DEEP}" fill-opacity="0.6"/>
  <rect y="{HEADER}" width="{WIDTH}" height="5" fill="url(#drop)"/>
  {headphones(22, 18, 70)}
  <rect y="{BAND}" width="{WIDTH}" height="{HEIGHT - BAND}" fill="{ACCENT_PALE}"/>
  <rect y="{BAND}" width="{WIDTH}" height="1" fill="{ACCENT}" fill-opacity="0.35"/>
</svg>
"""
