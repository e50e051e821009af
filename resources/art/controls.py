"""Pictures of the main window's controls, each as an SVG text.

The picture buttons and frame buttons sit on the blue header band, the state
icons on the blue bottom band; their pictures are partly transparent so the
band shows through.  The thumb, the wait panel and the glyphs sit on white.
"""

from palette import (ACCENT_DARK, ACCENT_DEEP, ACCENT_LIGHT, FONT, GREEN,
                     GREEN_LIGHT, GREY, GREY_LIGHT, RED, WHITE)


def svg(width, height, body, defs=""):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
            f'viewBox="0 0 {width} {height}">\n'
            f'  <defs>{defs}</defs>\n{body}\n</svg>\n')


def vertical(name, top, bottom):
    return (f'<linearGradient id="{name}" x1="0" y1="0" x2="0" y2="1">'
            f'<stop offset="0" stop-color="{top}"/><stop offset="1" stop-color="{bottom}"/>'
            f'</linearGradient>')


# --- 64 x 64 picture buttons ------------------------------------------------

# Line icons drawn in the upper part of the tile, centred on x = 32.
ICONS = {
    "open": """
    <path d="M18 35 V19 q0 -1.5 1.5 -1.5 H26 l3 3 h12.5 q1.5 0 1.5 1.5 V26"/>
    <path d="M18 35 L22.5 26 H47 L42.5 35 Z" fill="#FFFFFF" fill-opacity="0.22"/>""",
    "saveas": """
    <path d="M21 16 q0 -2 2 -2 h15 l5 5 v15 q0 2 -2 2 h-18 q-2 0 -2 -2 Z"/>
    <path d="M26 14 v6 h10 v-6"/>
    <path d="M25.5 36 v-8 h13 v8" fill="#FFFFFF" fill-opacity="0.22"/>""",
    "about": """
    <circle cx="32" cy="25" r="11"/>
    <path d="M32 24 V31" stroke-width="2.4"/>
    <circle cx="32" cy="19.8" r="1.5" fill="#FFFFFF" stroke="none"/>""",
}

WORDS = {"open": "Open", "saveas": "Save As", "about": "About"}

# state: tile fill, tile fill opacity, tile outline opacity, content opacity, content shift
BUTTON_STATES = {
    "normal": ("#FFFFFF", 0.13, 0.30, 1.0, 0),
    "hover": ("#FFFFFF", 0.27, 0.75, 1.0, 0),
    "down": (ACCENT_DEEP, 0.45, 0.55, 1.0, 1),
    "disabled": ("#FFFFFF", 0.05, 0.16, 0.42, 0),
}


def picture_button(kind, state):
    fill, fill_op, line_op, content_op, shift = BUTTON_STATES[state]
    body = f"""  <rect x="1.5" y="1.5" width="61" height="61" rx="10" fill="{fill}" fill-opacity="{fill_op}"
        stroke="#FFFFFF" stroke-opacity="{line_op}"/>
  <g transform="translate(0,{shift})" opacity="{content_op}">
   <g fill="none" stroke="#FFFFFF" stroke-width="2" stroke-linecap="round" stroke-linejoin="round">{ICONS[kind]}
   </g>
   <text x="32" y="53.5" text-anchor="middle" font-family="{FONT}" font-weight="bold"
         font-size="10.5" fill="#FFFFFF">{WORDS[kind]}</text>
  </g>"""
    return svg(64, 64, body)


# --- frame buttons (top right of the header) ---------------------------------

def frame_button(kind, state):
    width = 27 if kind == "minimize" else 40
    back = ""
    if state == "hover":
        back = (f'<rect width="{width}" height="20" fill="#FFFFFF" fill-opacity="0.22"/>'
                if kind == "minimize" else f'<rect width="{width}" height="20" fill="{RED}"/>')
    elif state == "down":
        back = (f'<rect width="{width}" height="20" fill="{ACCENT_DEEP}" fill-opacity="0.55"/>'
                if kind == "minimize" else f'<rect width="{width}" height="20" fill="#B3302A"/>')
    if kind == "minimize":
        glyph = '<rect x="9" y="11" width="9" height="1.5" fill="#FFFFFF"/>'
    else:
        glyph = ('<path d="M15.5 5.5 L24.5 14.5 M24.5 5.5 L15.5 14.5" stroke="#FFFFFF" '
                 'stroke-width="1.5" stroke-linecap="round"/>')
    return svg(width, 20, f"  {back}\n  {glyph}")


# --- 16 x 16 file state icons (bottom band) -----------------------------------

NOTE = """<g fill="#FFFFFF">
    <ellipse cx="6.6" cy="10.7" rx="2.1" ry="1.7" transform="rotate(-22 6.6 10.7)"/>
    <rect x="7.9" y="3.6" width="1.3" height="7.3"/>
    <path d="M9.2 3.6 q0.4 1.9 2.5 2.6 q0.6 0.9 -0.2 2.1 q0.2 -1.5 -2.3 -2.1 Z"/>
  </g>"""


def state_icon(valid):
    top, bottom = (GREEN_LIGHT, GREEN) if valid else (GREY_LIGHT, GREY)
    defs = vertical("disc", top, bottom)
    body = (f'  <circle cx="8" cy="8" r="7.2" fill="url(#disc)" stroke="#FFFFFF" '
            f'stroke-opacity="0.85" stroke-width="1"/>\n  {NOTE}')
    return svg(16, 16, body, defs)


# --- track-bar thumb ----------------------------------------------------------

def thumb(enabled):
    top, bottom, edge = ((ACCENT_LIGHT, ACCENT_DARK, ACCENT_DEEP) if enabled
                         else (GREY_LIGHT, GREY, "#86929A"))
    defs = vertical("body", top, bottom)
    body = f"""  <rect x="0.5" y="0.5" width="10" height="19" rx="2.5" fill="url(#body)" stroke="{edge}"/>
  <rect x="1.5" y="1.5" width="8" height="1" fill="#FFFFFF" fill-opacity="0.35"/>
  <rect x="3" y="7" width="1" height="6" fill="#FFFFFF" fill-opacity="0.8"/>
  <rect x="5" y="7" width="1" height="6" fill="#FFFFFF" fill-opacity="0.8"/>
  <rect x="7" y="7" width="1" height="6" fill="#FFFFFF" fill-opacity="0.8"/>"""
    return svg(11, 20, body, defs)


# --- wait panel background ------------------------------------------------------

def wait_panel():
    defs = vertical("panel", ACCENT_LIGHT, ACCENT_DARK)
    body = f"""  <rect x="0.5" y="0.5" width="189" height="49" rx="7" fill="url(#panel)" stroke="{ACCENT_DEEP}"/>
  <rect x="4" y="1.5" width="182" height="1" fill="#FFFFFF" fill-opacity="0.35"/>
  <circle cx="25" cy="25" r="9" fill="none" stroke="#FFFFFF" stroke-opacity="0.3" stroke-width="3"/>
  <path d="M25 16 A9 9 0 0 1 34 25" fill="none" stroke="#FFFFFF" stroke-width="3" stroke-linecap="round"/>
  <rect x="44" y="13" width="1" height="24" fill="#FFFFFF" fill-opacity="0.3"/>"""
    return svg(190, 50, body, defs)


# --- Play and Stop glyphs -------------------------------------------------------

def glyph(kind, enabled):
    top, bottom = (ACCENT_LIGHT, ACCENT_DARK) if enabled else (GREY_LIGHT, GREY)
    defs = vertical("disc", top, bottom)
    if kind == "play":
        mark = ('<path d="M10 7.6 L16.6 12 L10 16.4 Z" fill="#FFFFFF" stroke="#FFFFFF" '
                'stroke-width="1.4" stroke-linejoin="round"/>')
    else:
        mark = '<rect x="8" y="8" width="8" height="8" rx="1.5" fill="#FFFFFF"/>'
    body = f'  <circle cx="12" cy="12" r="11" fill="url(#disc)"/>\n  {mark}'
    return svg(24, 24, body, defs)



# --- play-from dialog ------------------------------------------------------------

DIALOG_WIDTH, DIALOG_HEIGHT, DIALOG_HEADER = 340, 180, 36


def dialog_skin():
    """The play-from dialog's background: a header band for the close button,
    a white body with a tinted frame, and a rule above the two buttons."""
    w, h, top = DIALOG_WIDTH, DIALOG_HEIGHT, DIALOG_HEADER
    defs = vertical("head", ACCENT_LIGHT, ACCENT_DARK)
    body = f"""  <rect width="{w}" height="{h}" fill="#FFFFFF"/>
  <rect width="{w}" height="{top}" fill="url(#head)"/>
  <rect y="0" width="{w}" height="1" fill="#FFFFFF" fill-opacity="0.25"/>
  <rect y="{top - 1}" width="{w}" height="1" fill="{ACCENT_DEEP}" fill-opacity="0.6"/>
  <path d="M20 25 h8 l5 -7 l5 13 l5 -10 l4 4 h9" fill="none" stroke="#FFFFFF"
        stroke-width="1.6" stroke-linecap="round" stroke-linejoin="round" stroke-opacity="0.85"/>
  <rect x="0" y="{top}" width="2" height="{h - top}" fill="#D3E9F5"/>
  <rect x="{w - 2}" y="{top}" width="2" height="{h - top}" fill="#D3E9F5"/>
  <rect x="0" y="{h - 2}" width="{w}" height="2" fill="#D3E9F5"/>
  <rect x="20" y="130" width="{w - 40}" height="1" fill="#D3E9F5"/>"""
    return svg(w, h, body, defs)


def current_position():
    """16 x 16: the position bar's thumb between two ticks, for "Play from Current"."""
    defs = vertical("body", ACCENT_LIGHT, ACCENT_DARK)
    body = f"""  <rect x="1" y="7.5" width="14" height="2" rx="1" fill="{GREY_LIGHT}"/>
  <rect x="5.5" y="1.5" width="6" height="13" rx="1.5" fill="url(#body)" stroke="{ACCENT_DEEP}"/>
  <rect x="8" y="5" width="1" height="6" fill="#FFFFFF" fill-opacity="0.85"/>"""
    return svg(16, 16, body, defs)
