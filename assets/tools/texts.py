"""The seven language sources and the language files made from them.

A source (assets/texts/<code>.txt) holds one text per line as "NN<TAB>text",
numbers 00 to 55 in order; the numbers are there so that a misplaced line is
caught here rather than shown as the wrong button caption.
"""
import os

TEXT_COUNT = 56
BOM = b"\xef\xbb\xbf"

# Language order of CurLang 0..6: source code, member name, picture name part.
LANGUAGES = [
    ("en", "English"),
    ("ru", "Russian"),
    ("de", "German"),
    ("fr", "France"),
    ("es", "Spannish"),
    ("it", "Italian"),
    ("jp", "Japan"),
]

# Text numbers used by the pictures.
ERROR_MESSAGE = 45
ERROR_ADVICE = 49
HINT_FIRST = 52
HINT_SECOND = 53


def load_texts(assets_dir, code):
    """Returns the 56 texts of one language, checked for order and content."""
    path = os.path.join(assets_dir, "texts", code + ".txt")
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    if len(lines) != TEXT_COUNT:
        raise SystemExit(f"{path}: {len(lines)} lines, expected {TEXT_COUNT}")
    texts = []
    for expected, line in enumerate(lines):
        number, sep, text = line.partition("\t")
        if sep != "\t" or not number.isdigit() or int(number) != expected:
            raise SystemExit(f"{path}: line {expected + 1} must start with {expected:02d} and a tab")
        if not text.strip() or "\r" in text:
            raise SystemExit(f"{path}: text {expected} is empty or holds a CR")
        texts.append(text)
    return texts


def language_file_bytes(texts):
    """The member's bytes: UTF-8 with the byte-order mark, CR LF after every text."""
    return BOM + "".join(t + "\r\n" for t in texts).encode("utf-8")


def write_language_files(assets_dir):
    out_dir = os.path.join(assets_dir, "Resource")
    os.makedirs(out_dir, exist_ok=True)
    for code, _ in LANGUAGES:
        data = language_file_bytes(load_texts(assets_dir, code))
        with open(os.path.join(out_dir, f"Language_{code}.csv"), "wb") as f:
            f.write(data)
