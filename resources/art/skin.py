"""The window skin: header band with the headphone picture, white body, bottom band."""

import math

from palette import (ACCENT, ACCENT_DARK, ACCENT_DEEP, ACCENT_LIGHT, ACCENT_PALE,
                     CUSHION, GREEN_LIGHT, RED_LIGHT, WHITE)

WIDTH, HEIGHT = 592, 452
HEADER = 105          # height of the header band (the caption strip covers it)
FOOTER = 24           # height of the bottom band (path label and state icon)

# Where the headphone picture and the waveform sit.  The left part of the
# header (x < 236) is kept free for the title and the three 64 x 64 buttons,
# the top right corner (y < 22) for the frame buttons and the language link.
PHONES_X, PHONES_Y, PHONES_SIZE = 464, 13, 90
WAVE_LEFT, WAVE_RIGHT, WAVE_MID = 252, 448, 62


def headphones(x, y, size):
    """A flat headphone picture in a size x size box at x, y."""
    s = size / 100.0
    return f"""
  <g transform="translate({x},{y}) scale({s})" filter="url(#soft)">
    <path d="M17 62 V50 A33 33 0 0 1 83 50 V62" fill="none" stroke="url(#shell)"
          stroke-width="7.5" stroke-linecap="round"/>
    <path d="M25.5 46 A25 25 0 0 1 74.5 46" fill="none" stroke="{CUSHION}"
          stroke-width="3" stroke-linecap="round"/>
    <rect x="14" y="50" width="6" height="8" rx="2" fill="{WHITE}"/>
    <rect x="80" y="50" width="6" height="8" rx="2" fill="{WHITE}"/>
    <rect x="7" y="55" width="21" height="39" rx="9" fill="url(#shell)"/>
    <rect x="24" y="59" width="10" height="31" rx="4.5" fill="{CUSHION}"/>
    <rect x="72" y="55" width="21" height="39" rx="9" fill="url(#shell)"/>
    <rect x="66" y="59" width="10" height="31" rx="4.5" fill="{CUSHION}"/>
    <rect x="12" y="66" width="3" height="17" rx="1.5" fill="{ACCENT}" fill-opacity="0.6"/>
    <rect x="85" y="66" width="3" height="17" rx="1.5" fill="{ACCENT}" fill-opacity="0.6"/>
  </g>"""


def waveform():
    """A row of level bars with a selected stretch between a green and a red tick."""
    bars = []
    sel_from, sel_to = 300, 392
    x = WAVE_LEFT
    while x <= WAVE_RIGHT:
        t = (x - WAVE_LEFT) / (WAVE_RIGHT - WAVE_LEFT)
        envelope = math.sin(math.pi * t) ** 0.7
        level = 0.35 + 0.65 * abs(math.sin(x * 0.23) * math.cos(x * 0.071 + 1.3))
        h = max(4.0, round(44 * envelope * level))
        opacity = 0.78 if sel_from < x < sel_to else 0.28
        bars.append(f'<rect x="{x - 1.5}" y="{WAVE_MID - h / 2:.1f}" width="3" '
                    f'height="{h:.1f}" rx="1.5" fill="{WHITE}" fill-opacity="{opacity}"/>')
        x += 6
    ticks = []
    for tx, colour in ((sel_from - 3, GREEN_LIGHT), (sel_to + 3, RED_LIGHT)):
        ticks.append(f'<rect x="{tx - 1}" y="{WAVE_MID - 27}" width="2" height="54" '
                     f'rx="1" fill="{colour}"/>')
        ticks.append(f'<path d="M{tx - 5} {WAVE_MID - 33} h10 l-5 6 z" fill="{colour}"/>')
    return "\n  ".join(bars + ticks)


def header_defs(*more):
    """The <defs> of a window skin: the header band's gradients, the headphone
    picture's shell and glow and its soft drop shadow; more gradients
    (complete elements, each ending in a newline) follow the band's own."""
    return f"""  <defs>
    <linearGradient id="head" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="{ACCENT_LIGHT}"/>
      <stop offset="0.55" stop-color="{ACCENT}"/>
      <stop offset="1" stop-color="{ACCENT_DARK}"/>
    </linearGradient>
{"".join(more)}    <linearGradient id="drop" x1="0" y1="0" x2="0" y2="1">
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
  </defs>"""


def header_band(width, height, glow):
    """The header band across a window width wide: its gradient, the glow
    (an element filled with url(#glow)), a light top edge, a dark bottom edge
    and a short drop shadow below it."""
    return f"""  <rect width="{width}" height="{height}" fill="url(#head)"/>
  {glow}
  <rect y="0" width="{width}" height="1" fill="{WHITE}" fill-opacity="0.25"/>
  <rect y="{height - 1}" width="{width}" height="1" fill="{ACCENT_DEEP}" fill-opacity="0.6"/>
  <rect y="{height}" width="{width}" height="5" fill="url(#drop)"/>"""


FOOT_GRADIENT = f"""    <linearGradient id="foot" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="{ACCENT}"/>
      <stop offset="1" stop-color="{ACCENT_DARK}"/>
    </linearGradient>
"""


def skin_svg():
    top = HEIGHT - FOOTER
    glow = (f'<ellipse cx="{PHONES_X + PHONES_SIZE / 2}" cy="{PHONES_Y + PHONES_SIZE / 2}" '
            f'rx="120" ry="70" fill="url(#glow)"/>')
    return f"""<svg xmlns="http://www.w3.org/2000/svg" width="{WIDTH}" height="{HEIGHT}" viewBox="0 0 {WIDTH} {HEIGHT}">
{header_defs(FOOT_GRADIENT)}
  <rect width="{WIDTH}" height="{HEIGHT}" fill="{WHITE}"/>
  <!-- thin tinted frame down both sides of the white body -->
  <rect x="0" y="{HEADER}" width="2" height="{top - HEADER}" fill="{ACCENT_PALE}"/>
  <rect x="{WIDTH - 2}" y="{HEADER}" width="2" height="{top - HEADER}" fill="{ACCENT_PALE}"/>
  <!-- header band -->
{header_band(WIDTH, HEADER, glow)}
  {waveform()}
  {headphones(PHONES_X, PHONES_Y, PHONES_SIZE)}
  <!-- bottom band -->
  <rect y="{top}" width="{WIDTH}" height="{FOOTER}" fill="url(#foot)"/>
  <rect y="{top}" width="{WIDTH}" height="1" fill="{ACCENT_DEEP}" fill-opacity="0.5"/>
  <rect y="{top + 1}" width="{WIDTH}" height="1" fill="{WHITE}" fill-opacity="0.18"/>
</svg>
"""
