"""The interface pictures: the logo, the dialog banner, the error pictures and
the empty-list backgrounds, one of the last two per language."""
import os

import drawing
import texts
from drawing import FONT_BOLD, FONT_REGULAR

# Pictures are drawn at SCALE times their size and reduced, for smooth edges.
SCALE = 4

LOGO_SIZE = (180, 60)
BANNER_SIZE = (421, 37)
# The error picture is centred at its own size in windows of 640 x 480 or more.
ERROR_SIZE = (600, 340)
# The list box's client area at 96 DPI: 265 x 130 dialog units of an
# 8-point shell font, less the one-pixel border on each side.
LISTBOX_SIZE = (396, 209)
# No time chunks, so that drawing again gives the same files.
STABLE_PNG = ["-define", "png:exclude-chunks=date,time"]

# Three photo cards fanned out, the emblem of the logo and the banner:
# (centre x, centre y, angle in degrees, picture colour), in a 100 x 100 box.
CARDS = [
    (40, 54, -16, "#2a9d8f"),
    (52, 50, -3, "#e9c46a"),
    (62, 48, 11, "#e76f51"),
]


def emblem_mvg(x, y, size):
    """MVG that draws the emblem into the square at (x, y) of the given side."""
    k = size / 100.0
    mvg = []
    for cx, cy, angle, colour in CARDS:
        mvg += [
            "push graphic-context",
            f"translate {x + cx * k:.2f},{y + cy * k:.2f}",
            f"rotate {angle}",
            "fill #ffffff stroke none",
            f"roundrectangle {-26 * k:.2f},{-20 * k:.2f} {26 * k:.2f},{20 * k:.2f} {4 * k:.2f},{4 * k:.2f}",
            f"fill {colour}",
            f"roundrectangle {-22 * k:.2f},{-16 * k:.2f} {22 * k:.2f},{16 * k:.2f} {2 * k:.2f},{2 * k:.2f}",
            "pop graphic-context",
        ]
    # A hill and a sun on the front card.
    fx, fy, fangle, _ = CARDS[-1]
    mvg += [
        "push graphic-context",
        f"translate {x + fx * k:.2f},{y + fy * k:.2f}",
        f"rotate {fangle}",
        "fill #fff3c4",
        f"circle {9 * k:.2f},{-7 * k:.2f} {13 * k:.2f},{-7 * k:.2f}",
        "fill #7a2e1f",
        f"polygon {-22 * k:.2f},{16 * k:.2f} {-8 * k:.2f},{-2 * k:.2f} {2 * k:.2f},{8 * k:.2f} "
        f"{10 * k:.2f},{2 * k:.2f} {22 * k:.2f},{14 * k:.2f} {22 * k:.2f},{16 * k:.2f}",
        "pop graphic-context",
    ]
    return "\n".join(mvg) + "\n"


def make_logo(path):
    w, h = LOGO_SIZE[0] * SCALE, LOGO_SIZE[1] * SCALE
    mvg = emblem_mvg(3 * SCALE, 5 * SCALE, 50 * SCALE)
    # A soft dark shadow under emblem and name keeps both readable over bright pictures.
    drawing.run([
        "-size", f"{w}x{h}", "xc:none",
        "-draw", mvg,
        "-font", FONT_BOLD, "-pointsize", 27 * SCALE, "-fill", "white", "-gravity", "west",
        # A thin dark rim first, then the white letters over it.
        "-stroke", "#141c2e", "-strokewidth", 3 * SCALE,
        "-annotate", f"+{57 * SCALE}-{SCALE}", "Veltrano",
        "-stroke", "none", "-annotate", f"+{57 * SCALE}-{SCALE}", "Veltrano",
        "(", "+clone", "-background", "black", "-shadow", f"95x{2 * SCALE}+0+{SCALE // 2}", ")",
        "+swap", "-background", "none", "-layers", "merge", "+repage",
        "-gravity", "center", "-crop", f"{w}x{h}+0+0", "+repage",
        "-filter", "Lanczos", "-resize", f"{LOGO_SIZE[0]}x{LOGO_SIZE[1]}!",
        "-define", "png:color-type=6", *STABLE_PNG, "PNG32:" + path,
    ])


def make_banner(path):
    w, h = BANNER_SIZE[0] * SCALE, BANNER_SIZE[1] * SCALE
    mvg = emblem_mvg(10 * SCALE, 2 * SCALE, 33 * SCALE)
    drawing.run([
        "-size", f"{h}x{w}", "gradient:#0d1d3a-#17606e", "-rotate", "-90",
        "-draw", mvg,
        "-font", FONT_BOLD, "-pointsize", 21 * SCALE, "-fill", "white",
        "-gravity", "west", "-annotate", f"+{50 * SCALE}-{SCALE}", "Veltrano",
        "-font", FONT_REGULAR, "-pointsize", 11 * SCALE, "-fill", "#a9c7dc",
        "-annotate", f"+{150 * SCALE}+{2 * SCALE}", "PHOTO SCREEN SAVER",
        "-gravity", "northwest",
        "-filter", "Lanczos", "-resize", f"{BANNER_SIZE[0]}x{BANNER_SIZE[1]}!",
        "-alpha", "off", "-type", "TrueColor", "BMP3:" + path,
    ])


def warning_mvg(cx, top, size):
    """An amber warning triangle with an exclamation mark, centred on cx."""
    half = size / 2
    return (
        "fill #f4b63f stroke #f4b63f stroke-width 6 stroke-linejoin round\n"
        f"polygon {cx:.1f},{top + 3:.1f} {cx + half:.1f},{top + size * 0.88:.1f} "
        f"{cx - half:.1f},{top + size * 0.88:.1f}\n"
        "fill #161b24 stroke none\n"
        f"roundrectangle {cx - size * 0.05:.1f},{top + size * 0.30:.1f} {cx + size * 0.05:.1f},"
        f"{top + size * 0.62:.1f} {size * 0.04:.1f},{size * 0.04:.1f}\n"
        f"circle {cx:.1f},{top + size * 0.74:.1f} {cx + size * 0.06:.1f},{top + size * 0.74:.1f}\n"
    )


def make_error_picture(path, message, advice):
    w, h = ERROR_SIZE
    text_width = w - 90
    title_lines, title_size = drawing.fit_lines(message, FONT_BOLD, 24, text_width, 3, 16)
    advice_lines, advice_size = drawing.fit_lines(advice, FONT_REGULAR, 17, text_width, 3, 12)
    icon = 54
    title_step = title_size * 1.45
    advice_step = advice_size * 1.5
    gap = 22
    block = icon + gap + len(title_lines) * title_step + gap + len(advice_lines) * advice_step
    top = (h - block) / 2
    title_top = top + icon + gap
    rule_y = title_top + len(title_lines) * title_step + gap / 2
    advice_top = title_top + len(title_lines) * title_step + gap
    mvg = (
        "fill #161b24 stroke #2c3545 stroke-width 2\n"
        f"roundrectangle 1,1 {w - 2},{h - 2} 18,18\n"
        "stroke #3a4457 stroke-width 1\n"
        f"line {w / 2 - 60},{rule_y:.1f} {w / 2 + 60},{rule_y:.1f}\n"
        + warning_mvg(w / 2, top, icon)
    )
    drawing.run(
        ["-size", f"{w}x{h}", "xc:black", "-draw", mvg]
        + drawing.annotate_lines(title_lines, FONT_BOLD, title_size, "#f3f5f8", title_top, title_step)
        + drawing.annotate_lines(advice_lines, FONT_REGULAR, advice_size, "#a7b2c3", advice_top,
                                 advice_step)
        + ["-alpha", "off", *STABLE_PNG, "PNG24:" + path])


def picture_icon_mvg(cx, top, size):
    """A framed photo with a plus badge: the empty list's invitation."""
    w, h = size * 1.25, size
    x0, y0 = cx - w / 2, top
    return (
        "fill #dfe8f5 stroke #9fb3cf stroke-width 1.5\n"
        f"roundrectangle {x0 + 8:.1f},{y0 - 5:.1f} {x0 + w + 8:.1f},{y0 + h - 5:.1f} 5,5\n"
        "fill #ffffff stroke #6f8db8 stroke-width 2\n"
        f"roundrectangle {x0:.1f},{y0:.1f} {x0 + w:.1f},{y0 + h:.1f} 5,5\n"
        "fill #bcd3f0 stroke none\n"
        f"rectangle {x0 + 5:.1f},{y0 + 5:.1f} {x0 + w - 5:.1f},{y0 + h - 5:.1f}\n"
        "fill #ffd36b\n"
        f"circle {x0 + w * 0.70:.1f},{y0 + h * 0.32:.1f} {x0 + w * 0.70 + h * 0.09:.1f},{y0 + h * 0.32:.1f}\n"
        "fill #4f79b4\n"
        f"polygon {x0 + 5:.1f},{y0 + h - 5:.1f} {x0 + w * 0.38:.1f},{y0 + h * 0.42:.1f} "
        f"{x0 + w * 0.62:.1f},{y0 + h * 0.72:.1f} {x0 + w * 0.76:.1f},{y0 + h * 0.58:.1f} "
        f"{x0 + w - 5:.1f},{y0 + h - 5:.1f}\n"
        "fill #2f7de1 stroke #ffffff stroke-width 2\n"
        f"circle {x0 + w:.1f},{y0 + h:.1f} {x0 + w + size * 0.28:.1f},{y0 + h:.1f}\n"
        "stroke #ffffff stroke-width 3 stroke-linecap round\n"
        f"line {x0 + w - size * 0.14:.1f},{y0 + h:.1f} {x0 + w + size * 0.14:.1f},{y0 + h:.1f}\n"
        f"line {x0 + w:.1f},{y0 + h - size * 0.14:.1f} {x0 + w:.1f},{y0 + h + size * 0.14:.1f}\n"
    )


def make_listbox_picture(path, first, second):
    w, h = LISTBOX_SIZE
    text_width = w - 56
    first_lines, first_size = drawing.fit_lines(first, FONT_BOLD, 16, text_width, 2, 12)
    second_lines, second_size = drawing.fit_lines(second, FONT_REGULAR, 13, text_width, 3, 10)
    icon = 40
    first_step = first_size * 1.4
    second_step = second_size * 1.45
    block = icon + 16 + len(first_lines) * first_step + 6 + len(second_lines) * second_step
    top = (h - block) / 2 + 2
    first_top = top + icon + 16
    second_top = first_top + len(first_lines) * first_step + 6
    mvg = (
        "push graphic-context\n"
        "fill none stroke #b7c6dc stroke-width 1.5 stroke-dasharray 6,4\n"
        f"roundrectangle 8,8 {w - 9},{h - 9} 10,10\n"
        "pop graphic-context\n"
        + picture_icon_mvg(w / 2 - 4, top, icon)
    )
    drawing.run(
        ["-size", f"{w}x{h}", "gradient:#fbfcfe-#e8eef7", "-draw", mvg]
        + drawing.annotate_lines(first_lines, FONT_BOLD, first_size, "#1d2c40", first_top, first_step)
        + drawing.annotate_lines(second_lines, FONT_REGULAR, second_size, "#55657c", second_top,
                                 second_step)
        + ["-alpha", "off", *STABLE_PNG, "PNG24:" + path])


def make_interface_pictures(assets_dir):
    resource = os.path.join(assets_dir, "Resource")
    pictures = os.path.join(assets_dir, "pictures")
    os.makedirs(resource, exist_ok=True)
    os.makedirs(pictures, exist_ok=True)
    make_logo(os.path.join(resource, "logo.png"))
    make_banner(os.path.join(pictures, "Banner103.bmp"))
    for code, name in texts.LANGUAGES:
        t = texts.load_texts(assets_dir, code)
        make_error_picture(os.path.join(resource, f"{name}ErrorFone.png"),
                           t[texts.ERROR_MESSAGE], t[texts.ERROR_ADVICE])
        make_listbox_picture(os.path.join(resource, f"ListBox{name}Fone.png"),
                             t[texts.HINT_FIRST], t[texts.HINT_SECOND])
