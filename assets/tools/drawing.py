"""Small drawing helpers over ImageMagick's convert: fonts, text measuring,
line breaking for Latin, Cyrillic and Japanese."""
import os
import subprocess

CONVERT = "/usr/bin/convert"
FONT_DIR = "/usr/share/fonts/opentype/noto"
# Noto Sans CJK covers Latin, Cyrillic and Japanese with one design, so every
# language's pictures share their typography. Face 0 of each collection is JP.
FONT_REGULAR = os.path.join(FONT_DIR, "NotoSansCJK-Regular.ttc")
FONT_BOLD = os.path.join(FONT_DIR, "NotoSansCJK-Bold.ttc")


def require_fonts():
    for font in (FONT_REGULAR, FONT_BOLD):
        if not os.path.exists(font):
            raise SystemExit(f"missing font {font}: install fonts-noto-cjk")


def run(args):
    subprocess.run([CONVERT] + [str(a) for a in args], check=True)


def escape(text):
    """Text for -annotate and label:, which expand % escapes and backslashes."""
    return text.replace("\\", "\\\\").replace("%", "%%")


_width_cache = {}


def text_width(text, font, size):
    """Width in pixels of one line of text, as convert sets it."""
    key = (text, font, size)
    if key not in _width_cache:
        out = subprocess.run([CONVERT, "-font", font, "-pointsize", str(size), "-density", "72",
                              "label:" + escape(text), "-trim", "-format", "%w", "info:"],
                             check=True, capture_output=True, text=True).stdout
        _width_cache[key] = int(out.strip() or 0)
    return _width_cache[key]


# Japanese line breaking: no line starts with these, none ends with the openers.
_NO_LINE_START = set("、。，．・：；？！ー」』）】〕］}>〉》)]ぁぃぅぇぉっゃゅょゎァィゥェォッャュョヮ")
_NO_LINE_END = set("「『（【〔［{<〈《([")


def _is_wide(ch):
    return ord(ch) >= 0x3000


def _is_katakana(ch):
    return 0x30A0 <= ord(ch) <= 0x30FF


def break_units(text):
    """Pieces of text between which a line may break; spaces stay as their own pieces.
    Latin words and katakana words stay whole; other Japanese characters stand alone."""
    units = []
    word = ""
    for ch in text:
        if ch == " ":
            if word:
                units.append(word)
                word = ""
            units.append(" ")
            continue
        joins = (not word or word[-1] in _NO_LINE_END
                 or (not _is_wide(ch) and not _is_wide(word[-1]))
                 or (_is_katakana(ch) and _is_katakana(word[-1])))
        if not joins:
            units.append(word)
            word = ""
        word += ch
    if word:
        units.append(word)
    # Glue closing marks and small kana to the piece before them.
    glued = []
    for unit in units:
        if glued and unit[0] in _NO_LINE_START and glued[-1] != " ":
            glued[-1] += unit
        else:
            glued.append(unit)
    return glued


def wrap(text, font, size, max_width):
    """Greedy line breaking of text into lines no wider than max_width where possible."""
    lines = []
    current = ""
    for unit in break_units(text):
        candidate = current + unit
        if current.strip() and unit != " " and text_width(candidate.strip(), font, size) > max_width:
            lines.append(current.strip())
            current = unit
        else:
            current = candidate
    if current.strip():
        lines.append(current.strip())
    return lines


def balanced_wrap(text, font, size, max_width):
    """Wraps into as few lines as wrap gives, but with lines of about equal width."""
    lines = wrap(text, font, size, max_width)
    low, high = 1, max_width
    while low < high:
        middle = (low + high) // 2
        if len(wrap(text, font, size, middle)) <= len(lines):
            high = middle
        else:
            low = middle + 1
    return wrap(text, font, size, low)


def fit_lines(text, font, size, max_width, max_lines, min_size):
    """Wraps text at the largest size from size down to min_size that gives at most max_lines."""
    while True:
        lines = wrap(text, font, size, max_width)
        if (len(lines) <= max_lines and all(text_width(l, font, size) <= max_width for l in lines)) \
                or size <= min_size:
            return balanced_wrap(text, font, size, max_width), size
        size -= 1


def annotate_lines(lines, font, size, colour, top, line_height, x_offset=0):
    """convert arguments that draw lines centred horizontally from y = top downwards."""
    args = ["-font", font, "-pointsize", size, "-fill", colour, "-gravity", "north"]
    for i, line in enumerate(lines):
        args += ["-annotate", f"+{x_offset}+{round(top + i * line_height)}", escape(line)]
    return args + ["-gravity", "northwest"]
