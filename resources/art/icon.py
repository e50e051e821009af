"""The application icon: white headphones on an accent tile, with a cut waveform.

Two drawings: a detailed one for 48 pixels and up, and a plain one with
heavier strokes that stays readable at 16 to 32 pixels.
"""

from palette import ACCENT_DEEP, ACCENT_LIGHT, ACCENT_DARK, CUSHION, GREEN_LIGHT, RED_LIGHT

TILE = f"""  <defs>
    <linearGradient id="tile" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="{ACCENT_LIGHT}"/><stop offset="1" stop-color="{ACCENT_DARK}"/>
    </linearGradient>
  </defs>
  <rect x="8" y="8" width="240" height="240" rx="54" fill="url(#tile)"/>
  <rect x="8" y="8" width="240" height="240" rx="54" fill="none" stroke="{ACCENT_DEEP}"
        stroke-opacity="0.6" stroke-width="4"/>"""


def detailed():
    bars = []
    heights = [26, 46, 66, 40, 74, 54, 30]
    for i, h in enumerate(heights):
        x = 128 + (i - 3) * 12 - 3
        opacity = 1.0 if 1 <= i <= 5 else 0.45
        bars.append(f'<rect x="{x}" y="{162 - h / 2}" width="6" height="{h}" rx="3" '
                    f'fill="#FFFFFF" fill-opacity="{opacity}"/>')
    wave = "\n  ".join(bars)
    return f"""<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">
{TILE}
  <path d="M50 150 V118 A78 78 0 0 1 206 118 V150" fill="none" stroke="#FFFFFF"
        stroke-width="16" stroke-linecap="round"/>
  <rect x="34" y="128" width="42" height="84" rx="18" fill="#FFFFFF"/>
  <rect x="68" y="138" width="18" height="64" rx="9" fill="{CUSHION}"/>
  <rect x="180" y="128" width="42" height="84" rx="18" fill="#FFFFFF"/>
  <rect x="170" y="138" width="18" height="64" rx="9" fill="{CUSHION}"/>
  {wave}
  <rect x="100" y="118" width="4" height="88" rx="2" fill="{GREEN_LIGHT}"/>
  <path d="M94 110 h16 l-8 10 z" fill="{GREEN_LIGHT}"/>
  <rect x="152" y="118" width="4" height="88" rx="2" fill="{RED_LIGHT}"/>
  <path d="M146 110 h16 l-8 10 z" fill="{RED_LIGHT}"/>
</svg>
"""


def plain():
    return f"""<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">
{TILE}
  <path d="M52 150 V124 A76 76 0 0 1 204 124 V150" fill="none" stroke="#FFFFFF"
        stroke-width="26" stroke-linecap="round"/>
  <rect x="30" y="128" width="60" height="92" rx="24" fill="#FFFFFF"/>
  <rect x="166" y="128" width="60" height="92" rx="24" fill="#FFFFFF"/>
</svg>
"""
