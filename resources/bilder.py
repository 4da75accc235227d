#!/usr/bin/env python3
"""Draws the setup program's icon (vork2.png, 32 x 32) and its picture (setup.png,
96 x 180) from simple shapes, with 4 x 4 supersampling. Run it to rebuild both:
    python3 bilder.py
"""
import struct
import zlib

UEBERABTASTUNG = 4


def png_schreiben(pfad, breite, hoehe, pixel):
    """Writes RGBA pixel rows (lists of 4-tuples) as a PNG file."""
    roh = b"".join(b"\x00" + bytes(v for p in zeile for v in p) for zeile in pixel)

    def block(art, daten):
        return (struct.pack(">I", len(daten)) + art + daten +
                struct.pack(">I", zlib.crc32(art + daten) & 0xFFFFFFFF))

    with open(pfad, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(block(b"IHDR", struct.pack(">IIBBBBB", breite, hoehe, 8, 6, 0, 0, 0)))
        f.write(block(b"IDAT", zlib.compress(roh, 9)))
        f.write(block(b"IEND", b""))


# --- Shapes: each is a test whether a point lies inside ---------------------------

def rechteck(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def kreis(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_aussen, r_innen):
    return lambda x, y: r_innen ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= r_aussen ** 2


def vieleck(punkte):
    def innen(x, y):
        drin = False
        n = len(punkte)
        for i in range(n):
            x1, y1 = punkte[i]
            x2, y2 = punkte[(i + 1) % n]
            if (y1 > y) != (y2 > y):
                if x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
                    drin = not drin
        return drin
    return innen


def abgerundet(x0, y0, x1, y1, r):
    def innen(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return innen


def malen(breite, hoehe, hintergrund, formen):
    """hintergrund(x, y) -> RGBA; formen: list of (test, RGBA or function) in
    painting order, later ones on top."""
    zeilen = []
    s = UEBERABTASTUNG
    for py in range(hoehe):
        zeile = []
        for px in range(breite):
            summe = [0.0, 0.0, 0.0, 0.0]
            for sy in range(s):
                for sx in range(s):
                    x = px + (sx + 0.5) / s
                    y = py + (sy + 0.5) / s
                    farbe = hintergrund(x, y)
                    for test, f in formen:
                        if test(x, y):
                            farbe = f(x, y) if callable(f) else f
                    a = farbe[3] / 255.0
                    for k in range(3):
                        summe[k] += farbe[k] * a
                    summe[3] += a
            if summe[3] > 0:
                zeile.append(tuple(int(round(summe[k] / summe[3])) for k in range(3)) +
                             (int(round(255 * summe[3] / (s * s))),))
            else:
                zeile.append((0, 0, 0, 0))
        zeilen.append(zeile)
    return zeilen


def verlauf(oben, unten, y0, y1):
    def farbe(x, y):
        t = min(max((y - y0) / (y1 - y0), 0.0), 1.0)
        return tuple(int(oben[k] + (unten[k] - oben[k]) * t) for k in range(3)) + (255,)
    return farbe


# --- The icon: a small steam locomotive on a blue tile ------------------------------

def symbol():
    leer = lambda x, y: (0, 0, 0, 0)
    dunkel = (24, 40, 32, 255)
    gruen = (30, 110, 60, 255)
    rot = (200, 30, 30, 255)
    messing = (230, 180, 40, 255)
    formen = [
        (abgerundet(0, 0, 32, 32, 5), verlauf((170, 200, 255), (60, 90, 220), 0, 32)),
        (abgerundet(0.5, 0.5, 31.5, 31.5, 4.5), verlauf((190, 215, 255), (80, 110, 235), 0, 32)),
        # Rails and sleepers.
        (rechteck(1, 27, 31, 28.5), (70, 70, 80, 255)),
        # Boiler, smokebox front, chimney, dome.
        (abgerundet(4, 13, 21, 21, 2), gruen),
        (rechteck(3, 13.5, 5.5, 21), dunkel),
        (vieleck([(6, 13.5), (6.5, 7), (9.5, 7), (10, 13.5)]), dunkel),
        (rechteck(5.5, 6, 10.5, 7.5), dunkel),
        (kreis(14.5, 13, 2.2), messing),
        # Cab with window and roof.
        (rechteck(20, 8, 28, 21), gruen),
        (rechteck(19, 7, 29.5, 9), dunkel),
        (rechteck(22, 10.5, 26, 14.5), (220, 235, 255, 255)),
        # Frame and buffer beam.
        (rechteck(2, 20.5, 29, 22.5), dunkel),
        (rechteck(1, 19.5, 3, 22.5), rot),
        # Wheels with hubs.
        (kreis(8, 24, 3.3), rot),
        (kreis(15, 24, 3.3), rot),
        (kreis(24, 25, 2.4), rot),
        (kreis(8, 24, 1), dunkel),
        (kreis(15, 24, 1), dunkel),
        (kreis(24, 25, 0.8), dunkel),
        # Coupling rod.
        (rechteck(7.5, 24.2, 15.5, 25.2), (235, 235, 235, 255)),
        # A puff of steam.
        (kreis(8, 4, 2.2), (250, 250, 255, 235)),
        (kreis(11.5, 3, 1.6), (250, 250, 255, 200)),
    ]
    return malen(32, 32, leer, formen)


# --- The picture: a light signal beside a track that runs into the distance ---------

def bild():
    b, h = 96, 180
    horizont = 92
    himmel = verlauf((160, 160, 255), (40, 40, 230), 0, horizont)
    wiese = verlauf((90, 150, 70), (40, 100, 40), horizont, h)
    fluchtx = 40

    def schiene(x_unten, breite_unten):
        # A rail from the vanishing point down to the bottom edge.
        return vieleck([(fluchtx - 0.3 + (x_unten - fluchtx) * 0.02, horizont),
                        (fluchtx + 0.3 + (x_unten - fluchtx) * 0.02, horizont),
                        (x_unten + breite_unten, h), (x_unten, h)])

    formen = [
        (rechteck(0, horizont, b, h), wiese),
        # Distant hills.
        (lambda x, y: y > horizont - 10 + 6 * ((x / 18.0) % 2 - 1) ** 2 and y <= horizont,
         (70, 120, 80, 255)),
        # Ballast bed.
        (vieleck([(fluchtx - 1, horizont), (fluchtx + 1, horizont), (86, h), (-6, h)]),
         (150, 135, 115, 255)),
    ]
    # Sleepers, closer together towards the horizon.
    for i in range(1, 14):
        t = (i / 13.0) ** 2
        y = horizont + t * (h - horizont)
        halb = 2 + t * 44
        dicke = 0.5 + t * 4
        formen.append((rechteck(fluchtx - halb + t * 0, y - dicke / 2, fluchtx + halb, y + dicke / 2),
                       (100, 70, 45, 255)))
    formen += [
        (schiene(4, 4), (190, 190, 200, 255)),
        (schiene(72, 4), (190, 190, 200, 255)),
        # Signal mast with its ladder and foot.
        (rechteck(80, 40, 84, 150), (60, 60, 60, 255)),
        (rechteck(76, 148, 88, 154), (90, 90, 90, 255)),
        # Signal head: black board with white edge, two lamps.
        (abgerundet(70, 14, 94, 62, 6), (245, 245, 245, 255)),
        (abgerundet(72, 16, 92, 60, 5), (20, 20, 20, 255)),
        (kreis(82, 27, 6.5), (235, 255, 235, 255)),
        (kreis(82, 27, 5), (40, 230, 90, 255)),
        (kreis(82, 48, 5), (80, 20, 20, 255)),
        # Glow around the green lamp.
        (ring(82, 27, 9, 6.5), (120, 255, 150, 90)),
        # Number plate on the mast.
        (rechteck(78, 70, 86, 78), (250, 250, 250, 255)),
        (rechteck(79, 73, 85, 75), (20, 20, 20, 255)),
    ]
    return malen(b, h, himmel, formen)


if __name__ == "__main__":
    png_schreiben("vork2.png", 32, 32, symbol())
    png_schreiben("setup.png", 96, 180, bild())
