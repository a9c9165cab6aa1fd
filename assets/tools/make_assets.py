#!/usr/bin/env python3
"""Makes every picture and language file of the saver from the sources in assets/."""
import os
import sys

import drawing
import interface
import landscapes
import texts


def main():
    assets_dir = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    drawing.require_fonts()
    texts.write_language_files(assets_dir)
    interface.make_interface_pictures(assets_dir)
    landscapes.make_default_pictures(os.path.join(assets_dir, "pictures"))


if __name__ == "__main__":
    sys.exit(main())
