#!/usr/bin/env python3
"""Writes one scenery text of real airports for the batch build benchmark.

    groundnet_scenery.py REALDATA OUT.txt

Reads REALDATA/groundnet/*.groundnet.xml (parkings and taxi nodes with
positions such as "N49 19.386727", arcs between node indices) and, where
present, REALDATA/threshold/CODE.threshold.xml (the two thresholds of each
runway). Each airport becomes a reference point at the middle of its nodes,
its runways as RWY lines from threshold to threshold, and every arc that is
not on a runway as a MOV/LIN pair in feet from the reference (75 ft wide).
Benchmarks only.
"""
import math
import pathlib
import sys
import xml.etree.ElementTree as ET

FEET_PER_DEGREE = 364_567.2  # one degree of latitude


def degrees(text):
    """ "N49 19.386727" -> 49.323..., south and west negative."""
    sign = -1.0 if text[0] in "SW" else 1.0
    whole, minutes = text[1:].split()
    return sign * (float(whole) + float(minutes) / 60.0)


def dms(value, positive, negative, width=2):
    """Degrees -> "N53:37:49.4400" (longitudes: "E009:59:17.6280")."""
    hemisphere = positive if value >= 0 else negative
    seconds = abs(value) * 3600.0
    d = int(seconds // 3600)
    m = int((seconds - d * 3600) // 60)
    return f"{hemisphere}{d:0{width}d}:{m:02d}:{seconds - d * 3600 - m * 60:07.4f}"


def position(lat, lon):
    return f"{dms(lat, 'N', 'S')} {dms(lon, 'E', 'W', 3)}"


def runways(path):
    lines = []
    if not path.exists():
        return lines
    for runway in ET.parse(path).getroot().iter("runway"):
        ends = [(float(t.findtext("lat")), float(t.findtext("lon")), t.findtext("rwy"))
                for t in runway.iter("threshold")]
        if len(ends) != 2:
            continue
        (lat1, lon1, name1), (lat2, lon2, name2) = ends
        north = (lat2 - lat1) * FEET_PER_DEGREE
        east = (lon2 - lon1) * FEET_PER_DEGREE * math.cos(math.radians(lat1))
        length = round(math.hypot(north, east))
        lines.append(f"RWY {name1} {name2} ASPH 0 {length} 150 {position(lat1, lon1)} {position(lat2, lon2)}")
    return lines


def airport(groundnet, threshold):
    root = ET.parse(groundnet).getroot()
    nodes = {}
    for tag in ("Parking", "node"):
        for n in root.iter(tag):
            nodes.setdefault(n.get("index"), (degrees(n.get("lat")), degrees(n.get("lon")),
                                              n.get("isOnRunway") == "1"))
    if not nodes:
        return []
    lat0 = sum(n[0] for n in nodes.values()) / len(nodes)
    lon0 = sum(n[1] for n in nodes.values()) / len(nodes)
    scale = FEET_PER_DEGREE * math.cos(math.radians(lat0))

    def feet(index):
        lat, lon, _ = nodes[index]
        return f"{round((lon - lon0) * scale)} 0 {round((lat - lat0) * FEET_PER_DEGREE)}"

    lines = [f'SRC "SCENERY\\REAL\\{groundnet.name}"', f"REF {position(lat0, lon0)}"]
    lines += runways(threshold)
    seen = set()
    for arc in root.iter("arc"):
        a, b = arc.get("begin"), arc.get("end")
        pair = tuple(sorted((a, b)))
        if a == b or pair in seen or a not in nodes or b not in nodes:
            continue
        seen.add(pair)
        if nodes[a][2] and nodes[b][2]:
            continue  # on the runway: the RWY lines hold it
        lines.append(f"MOV {feet(a)} 0 0")
        lines.append(f"LIN {feet(b)} 75 15")
    return lines


def main():
    realdata, out = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    lines = []
    for groundnet in sorted((realdata / "groundnet").glob("*.groundnet.xml")):
        code = groundnet.name.split(".")[0]
        lines += airport(groundnet, realdata / "threshold" / f"{code}.threshold.xml")
    lines.append("EXI")
    out.write_text("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
