#!/usr/bin/env python3
"""Regenerates the muscle pictures of the FES channel dialog: a body silhouette, seen from the
side where the muscle lies, with the muscle marked in red on both sides and its name below.

Needs ImageMagick 6 (convert) with the Noto Sans CJK and DejaVu fonts. Run from anywhere.
The shapes are given in the 400x600 picture's own coordinates and become ImageMagick drawing
commands (MVG) at twice the size, scaled down afterwards for clean edges. The commands go on the
command line because the usual security policy refuses drawing files.
"""
import math
import os
import subprocess

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..'))
OUT = os.path.join(ROOT, 'DependFile', 'Image', 'leftMuscle')
WIDTH, HEIGHT, SCALE = 400, 600, 2
CENTRE = 200

SKIN = '#DCE5EC'
OUTLINE = '#8FA3B3'
DETAIL = '#B3C2CE'
HAIR = '#8E9DAA'
MUSCLE = '#E24A4A'
MUSCLE_EDGE = '#A82A2A'
CAPTION = '#1E3A4C'
MUTED = '#7A8691'
CJK_FONT = 'Noto-Sans-CJK-SC-Bold'
LATIN_FONT = 'DejaVu-Sans'
VIEW_FONT = 'Noto-Sans-CJK-SC'


def mirror(points):
    return [(2 * CENTRE - x, y) for x, y in points]


def pts(points):
    return ' '.join('%.1f,%.1f' % (x * SCALE, y * SCALE) for x, y in points)


def pen(colour, width, fill):
    return 'stroke %s stroke-width %g fill %s' % (colour, width * SCALE, fill)


def oval(p1, p2, half_width, steps=48):
    """A muscle belly as an ellipse running from p1 to p2."""
    (x1, y1), (x2, y2) = p1, p2
    cx, cy = (x1 + x2) / 2, (y1 + y2) / 2
    half_length = math.hypot(x2 - x1, y2 - y1) / 2
    angle = math.atan2(y2 - y1, x2 - x1)
    out = []
    for i in range(steps):
        t = 2 * math.pi * i / steps
        u, v = half_length * math.cos(t), half_width * math.sin(t)
        out.append((cx + u * math.cos(angle) - v * math.sin(angle),
                    cy + u * math.sin(angle) + v * math.cos(angle)))
    return out


def circle_pts(cx, cy, rx, ry, steps=48):
    return [(cx + rx * math.cos(2 * math.pi * i / steps), cy + ry * math.sin(2 * math.pi * i / steps))
            for i in range(steps)]


# ---- the silhouette, image-left half; the other half is its mirror ----
TORSO_LEFT = [(184, 104), (160, 112), (142, 118), (134, 128), (146, 164), (150, 204),
              (156, 246), (150, 276), (148, 300), (176, 312), (200, 314)]
TORSO = TORSO_LEFT + mirror(TORSO_LEFT)[::-1]
LIMBS_LEFT = [
    circle_pts(137, 134, 20, 22),                                   # shoulder
    [(111, 132), (145, 138), (135, 222), (107, 220)],                # upper arm
    circle_pts(121, 221, 14, 11),                                   # elbow
    [(107, 218), (135, 222), (118, 306), (94, 302)],                 # forearm
    circle_pts(104, 324, 13, 23),                                   # hand
    [(149, 282), (199, 300), (195, 400), (159, 400), (148, 330)],    # thigh
    circle_pts(177, 402, 18, 12),                                   # knee
    [(160, 402), (194, 402), (191, 440), (188, 480), (168, 480), (160, 436)],  # shin and calf
]
NECK = [(186, 84), (214, 84), (217, 112), (183, 112)]


def silhouette(back):
    parts = [TORSO, NECK]
    for part in LIMBS_LEFT:
        parts += [part, mirror(part)]
    feet = [circle_pts(178, 490, 16, 10), circle_pts(222, 490, 16, 10)]
    commands = []
    # outline first, then the same shapes again without it, so the parts merge into one body
    for stroke in (True, False):
        commands.append(pen(OUTLINE if stroke else 'none', 5 if stroke else 0, SKIN))
        for part in parts + feet + [circle_pts(CENTRE, 58, 27, 33)]:
            commands.append('polygon ' + pts(part))
    if back:
        # hair seen from behind tells the back view at a glance
        commands.append(pen('none', 0, HAIR))
        cap = [(CENTRE + 26 * math.cos(math.pi * (1 + i / 24)), 52 + 25 * math.sin(math.pi * (1 + i / 24)))
               for i in range(25)]
        commands.append('polygon ' + pts(cap + [(224, 62), (220, 76), (200, 82), (180, 76), (176, 62)]))
    return commands


def details(back):
    # no round line caps: ImageMagick 6 rejects wide polylines drawn with them
    c = [pen(DETAIL, 2, 'none')]
    if back:
        c.append('polyline %s' % pts([(CENTRE, 112), (CENTRE, 282)]))              # spine
        for side in (1, -1):
            def sx(x):
                return CENTRE + side * (x - CENTRE)
            # scapula, its spine and the gluteal fold
            c.append('polyline %s' % pts([(sx(176), 126), (sx(150), 132), (sx(172), 192), (sx(176), 126)]))
            c.append('polyline %s' % pts([(sx(176), 140), (sx(150), 130)]))
            c.append('polyline %s' % pts([(sx(198), 312), (sx(184), 316), (sx(164), 312), (sx(152), 304)]))
        c.append('polyline %s' % pts([(CENTRE, 286), (CENTRE, 312)]))
    else:
        for side in (1, -1):
            def sx(x):
                return CENTRE + side * (x - CENTRE)
            # collarbone, chest and knee cap
            c.append('polyline %s' % pts([(sx(192), 112), (sx(170), 114), (sx(148), 118)]))
            c.append('polyline %s' % pts([(sx(198), 164), (sx(180), 170), (sx(160), 164), (sx(148), 152)]))
            c.append('polygon %s' % pts(circle_pts(sx(178), 402, 8, 9)))
        c.append('polygon %s' % pts(circle_pts(CENTRE, 236, 2, 3, 12)))           # navel
        c.append('polyline %s' % pts([(CENTRE, 118), (CENTRE, 160)]))
    return c


def bilateral(shape):
    return [shape, mirror(shape)]


# stem: (Chinese name, English name, back view?, shapes)
MUSCLES = {
    'gongEr': ('肱二头肌', 'Biceps brachii', False,
               bilateral(oval((130, 146), (122, 212), 10))),
    'gongSan': ('肱三头肌', 'Triceps brachii', True,
                bilateral(oval((128, 142), (121, 214), 11))),
    'qianSanJiao': ('前三角肌', 'Anterior deltoid', False,
                    bilateral(oval((148, 120), (136, 164), 12))),
    'houSanJiao': ('后三角肌', 'Posterior deltoid', True,
                   bilateral(oval((145, 122), (128, 162), 12))),
    'quWan': ('屈腕肌', 'Wrist flexors', False,
              bilateral(oval((126, 230), (110, 284), 9))),
    'shenWan': ('伸腕肌', 'Wrist extensors', True,
                bilateral(oval((118, 230), (102, 286), 9))),
    'jianJia': ('肩胛肌', 'Scapular muscles', True,
                bilateral([(196, 118), (178, 128), (172, 188), (196, 170)])),
    'gangShang': ('冈上肌', 'Supraspinatus', True,
                  bilateral(oval((178, 130), (150, 124), 7))),
    'guoSheng': ('腘绳肌', 'Hamstrings', True,
                 bilateral(oval((174, 318), (178, 392), 15))),
    'tunDa': ('臀大肌', 'Gluteus maximus', True,
              bilateral(oval((196, 274), (154, 300), 22))),
    'jingQian': ('胫前肌', 'Tibialis anterior', False,
                 bilateral(oval((171, 412), (177, 470), 6))),
    'feiChang': ('腓肠肌', 'Gastrocnemius', True,
                 bilateral(oval((168, 408), (171, 452), 7)) + bilateral(oval((186, 408), (184, 450), 7))),
    'fuJi': ('腹肌', 'Abdominals', False,
             [[(x, y), (x + 20, y), (x + 20, y + 26), (x, y + 26)]
              for x in (178, 202) for y in (170, 200, 230)]),
    'shuJi': ('竖脊肌', 'Erector spinae', True,
              bilateral(oval((189, 140), (189, 286), 7))),
    'guSiTou': ('股四头肌', 'Quadriceps femoris', False,
                bilateral(oval((171, 306), (178, 390), 18))),
}


def draw(stem, name, english, back, shapes):
    mvg = silhouette(back)
    mvg += details(back)
    mvg.append(pen(MUSCLE_EDGE, 2, MUSCLE))
    mvg.append('stroke-linejoin round')
    for shape in shapes:
        mvg.append('polygon ' + pts(shape))
    s = SCALE
    subprocess.run([
        'convert', '-size', '%dx%d' % (WIDTH * s, HEIGHT * s), 'xc:none',
        # a card with a soft top-to-bottom tint, the caption band below a hairline
        '-fill', '#FFFFFF', '-draw', 'roundrectangle 0,0 %d,%d %d,%d' % (WIDTH * s - 1, HEIGHT * s - 1, 24 * s, 24 * s),
        '(', '-size', '%dx%d' % (WIDTH * s, 500 * s), 'gradient:#FFFFFF-#EAF1F6', ')',
        '-geometry', '+0+0', '-compose', 'src-atop', '-composite', '-compose', 'over',
        '-fill', '#D3DDE5', '-draw', 'rectangle %d,%d %d,%d' % (30 * s, 506 * s, (WIDTH - 30) * s, 507 * s),
        '-draw', '\n'.join(mvg),
        '-gravity', 'northwest', '-font', VIEW_FONT, '-pointsize', str(15 * s), '-fill', MUTED,
        '-annotate', '+%d+%d' % (22 * s, 16 * s), '背面' if back else '正面',
        '-gravity', 'north', '-font', CJK_FONT, '-pointsize', str(38 * s), '-fill', CAPTION,
        '-annotate', '+0+%d' % (512 * s), name,
        '-font', LATIN_FONT, '-pointsize', str(16 * s), '-fill', MUTED,
        '-annotate', '+0+%d' % (566 * s), english,
        '-filter', 'Lanczos', '-resize', '%dx%d' % (WIDTH, HEIGHT),
        '-depth', '8', '-define', 'png:color-type=6', '-define', 'png:exclude-chunk=date,time', os.path.join(OUT, stem + '.png'),
    ], check=True)


def main():
    os.makedirs(OUT, exist_ok=True)
    for stem, (name, english, back, shapes) in MUSCLES.items():
        draw(stem, name, english, back, shapes)


if __name__ == '__main__':
    main()
