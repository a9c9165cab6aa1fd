"""The three default pictures: procedural scenes drawn from fixed seeds, so
that every run of the script draws the same pictures."""
import math
import os
import random

import drawing

SIZE = (1600, 900)
JPEG_QUALITY = 86


def ridge(rng, width, base, roughness, amplitude, steps=9):
    """A mountain ridge by midpoint displacement: y for 2^steps + 1 points across the width."""
    count = 2 ** steps + 1
    ys = [0.0] * count
    ys[0] = rng.uniform(-amplitude, amplitude) * 0.5
    ys[-1] = rng.uniform(-amplitude, amplitude) * 0.5
    span = count - 1
    spread = amplitude
    while span > 1:
        half = span // 2
        for i in range(half, count - 1, span):
            ys[i] = (ys[i - half] + ys[i + half]) / 2 + rng.uniform(-spread, spread)
        span = half
        spread *= roughness
    return [(width * i / (count - 1), base + y) for i, y in enumerate(ys)]


def polygon(points, width, height, colour):
    path = " ".join(f"{x:.1f},{y:.1f}" for x, y in points)
    return f"fill {colour} polygon {path} {width + 2},{height + 2} -2,{height + 2}\n"


def mix(a, b, t):
    return "#" + "".join(f"{round(int(a[i:i + 2], 16) * (1 - t) + int(b[i:i + 2], 16) * t):02x}"
                         for i in (1, 3, 5))


def stars_mvg(rng, width, height, count):
    mvg = []
    for _ in range(count):
        x, y = rng.uniform(0, width), rng.uniform(0, height) ** 1.3 / height ** 0.3
        r = rng.choice((0.6, 0.8, 1.0, 1.4))
        alpha = rng.uniform(0.25, 0.9)
        mvg.append(f"fill rgba(255,250,235,{alpha:.2f}) circle {x:.1f},{y:.1f} {x + r:.1f},{y:.1f}")
    return "\n".join(mvg) + "\n"


def mountain_dusk(path):
    """Layered ridges fading into a warm dusk sky, with a low sun."""
    w, h = SIZE
    rng = random.Random(1031)
    sun_x, sun_y = round(w * 0.66), round(h * 0.53)
    glow = 2600
    args = [
        "-size", f"{w}x{h}", "gradient:#141b3f-#e9a274",
        # The sun's glow: a radial ramp larger than the picture, so that no edge shows.
        "(", "-size", f"{glow}x{glow}", "radial-gradient:white-black", "-evaluate", "pow", "2.6",
        "-fill", "#ffcf94", "-tint", "100", ")",
        "-geometry", f"-{glow // 2 - sun_x}-{glow // 2 - sun_y}", "-compose", "screen", "-composite",
        "-compose", "over", "-geometry", "+0+0",
        "-draw", stars_mvg(rng, w, h * 0.3, 120),
        "-draw", f"fill #fff4d6 circle {sun_x},{sun_y} {sun_x + 36},{sun_y}",
    ]
    far, near = "#c98a9a", "#141a33"
    for i in range(6):
        base = h * (0.50 + 0.085 * i)
        points = ridge(rng, w, base, 0.52 + 0.03 * i, h * (0.16 - 0.012 * i))
        args += ["-draw", polygon(points, w, h, mix(far, near, (i / 5) ** 0.8))]
        if i < 5:
            # Mist pooling in the valleys in front of each ridge.
            mist_top = round(base - h * 0.02)
            args += ["(", "-size", f"{w}x{h - mist_top}",
                     f"gradient:rgba(255,214,190,0)-rgba(255,214,190,{0.28 - 0.04 * i:.2f})", ")",
                     "-geometry", f"+0+{mist_top}", "-composite", "-geometry", "+0+0"]
    args += ["-seed", "7", "-attenuate", "0.15", "+noise", "Gaussian",
             "-sampling-factor", "4:2:0", "-strip", "-quality", JPEG_QUALITY, path]
    drawing.run(args)


def ribbons(path):
    """Abstract art: luminous ribbons of light sweeping across a deep night blue."""
    w, h = SIZE
    rng = random.Random(2718)
    palette = ["#ff4f8b", "#ff9a3c", "#ffd166", "#3ce0c5", "#4aa8ff", "#9b6bff"]
    draws = []
    for band in range(6):
        strands = []
        colour = palette[band]
        centre = h * (0.25 + 0.1 * band)
        phase = rng.uniform(0, math.tau)
        freq = rng.uniform(1.1, 1.8)
        amp = h * rng.uniform(0.12, 0.22)
        for strand in range(14):
            offset = strand * 5.5 - 38
            twist = strand * 0.045
            points = []
            for step in range(0, 161):
                x = w * step / 160
                u = x / w * math.tau * freq + phase
                y = centre + amp * math.sin(u + twist) + offset * math.cos(u * 0.7 + twist)
                points.append(f"{x:.1f},{y:.1f}")
            alpha = 0.10 + 0.35 * (1 - abs(strand - 6.5) / 7)
            strands.append(f"stroke {colour} stroke-opacity {alpha:.2f} polyline " + " ".join(points))
        # One drawing per band keeps each argument within the system's limit.
        draws += ["-draw", "fill none stroke-width 1.6\n" + "\n".join(strands) + "\n"]
    drawing.run([
        "-size", f"{w}x{h}", "radial-gradient:#1a1f4a-#05060f",
        *draws,
        "(", "+clone", "-blur", "0x14", ")", "-compose", "screen", "-composite",
        "-seed", "7", "-attenuate", "0.15", "+noise", "Gaussian",
        "-sampling-factor", "4:2:0", "-strip", "-quality", JPEG_QUALITY, path,
    ])


def aurora_curtain(rng, w, h, colour, base, amp, length):
    """MVG for one aurora curtain: vertical rays hanging from a wavy arc, densest at the top."""
    phase = rng.uniform(0, math.tau)
    lines = [f"stroke {colour} stroke-opacity 0.17 stroke-width 2.5"]
    for x in range(0, w + 1, 3):
        top = h * base + h * amp * math.sin(x / w * 5.1 + phase) + h * 0.025 * math.sin(x / w * 17 + phase)
        ray = h * length * (0.5 + 0.5 * math.sin(x / w * 9.0 + phase * 2) ** 2) * rng.uniform(0.6, 1.0)
        for part in (0.12, 0.3, 0.55, 1.0):
            lines.append(f"line {x},{top:.1f} {x},{top + ray * part:.1f}")
    return "\n".join(lines) + "\n"


def aurora_lake(path):
    """Green and violet aurora curtains over dark hills, mirrored in a still lake."""
    w, h = SIZE
    horizon = round(h * 0.64)
    rng = random.Random(4242)
    sky = f"{w}x{horizon}"
    curtains = ["-draw", aurora_curtain(rng, w, h, "#46f5a8", 0.16, 0.07, 0.26),
                "-draw", aurora_curtain(rng, w, h, "#b07bff", 0.08, 0.05, 0.16),
                "-draw", aurora_curtain(rng, w, h, "#39e0d0", 0.26, 0.05, 0.20)]
    hills = polygon(ridge(rng, w, horizon - h * 0.09, 0.55, h * 0.10), w, horizon, "#04060c")
    drawing.run([
        "-size", sky, "gradient:#03051a-#12405a",
        "-draw", stars_mvg(rng, w, horizon * 0.9, 260),
        "(", "-size", sky, "xc:none", *curtains, "-blur", "0x2",
        "(", "+clone", "-blur", "0x18", ")", "-compose", "screen", "-composite", ")",
        "-compose", "screen", "-composite", "-compose", "over",
        "-draw", hills,
        # The lake: the sky mirrored, darkened and smeared sideways by the ripples.
        "(", "+clone", "-flip", "-crop", f"{w}x{h - horizon}+0+0", "+repage",
        "-motion-blur", "0x10+0", "-fill", "#01030a", "-colorize", "40%", ")",
        "-append",
        "-draw", f"stroke rgba(180,230,255,0.15) stroke-width 1 line 0,{horizon} {w},{horizon}",
        "-seed", "7", "-attenuate", "0.15", "+noise", "Gaussian",
        "-sampling-factor", "4:2:0", "-strip", "-quality", JPEG_QUALITY, path,
    ])


def make_default_pictures(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    mountain_dusk(os.path.join(out_dir, "default_1.jpg"))
    ribbons(os.path.join(out_dir, "default_2.jpg"))
    aurora_lake(os.path.join(out_dir, "default_3.jpg"))
