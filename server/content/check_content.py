#!/usr/bin/env python3
"""Checks the demo content served by the reference content server.

Usage: python3 check_content.py [CONTENT_DIR]
CONTENT_DIR defaults to the folder holding this script. Prints a summary and
exits with status 1 when any problem is found.
"""
import datetime
import os
import re
import sys

FIELDS = ["headline", "location", "coords", "published", "scene"]
SCENES = {"city", "coast", "mountains", "desert", "forest", "farmland", "harbour",
          "stadium", "court", "laboratory", "space", "stage", "market", "factory",
          "snow", "river", "night"}
CLIMATES = {"tropical", "arid", "temperate", "continental", "polar", "mediterranean",
            "highland", "subtropical", "oceanic"}
FOLDERS = ["world", "business", "technology", "sport", "sport/football",
           "sport/tennis", "science", "culture"]
EARLIEST = datetime.datetime(2026, 11, 28, 0, 0)
LATEST = datetime.datetime(2026, 12, 6, 9, 0)
NAME_RE = re.compile(r"^(\d\d)-[a-z0-9]+(-[a-z0-9]+)*\.article$")
COORD_RE = re.compile(r"^(-?\d{1,3}(?:\.\d+)?), (-?\d{1,3}(?:\.\d+)?)$")

problems = []


def problem(where, text):
    problems.append("%s: %s" % (where, text))


def parse_coords(where, value):
    m = COORD_RE.match(value)
    if not m:
        problem(where, "coords do not parse: %r" % value)
        return None
    lat, lon = float(m.group(1)), float(m.group(2))
    if not (-90 <= lat <= 90 and -180 <= lon <= 180):
        problem(where, "coords out of range: %r" % value)
        return None
    return lat, lon


def check_article(path, where):
    """Returns the published time of the article, or None."""
    try:
        with open(path, encoding="utf-8") as f:
            text = f.read()
    except UnicodeDecodeError:
        problem(where, "not valid UTF-8")
        return None
    if "\r" in text:
        problem(where, "carriage return found")
    for ch in "<>&":
        if ch in text:
            problem(where, "forbidden character %r" % ch)
    lines = text.split("\n")
    if len(lines) < 6:
        problem(where, "too short")
        return None
    values = {}
    for i, field in enumerate(FIELDS):
        line = lines[i]
        prefix = field + ": "
        if not line.startswith(prefix):
            problem(where, "line %d should start with %r" % (i + 1, prefix))
            return None
        value = line[len(prefix):]
        if value != value.strip() or not value:
            problem(where, "field %s is empty or has stray spaces" % field)
        values[field] = value
    if lines[5] != "---":
        problem(where, "line 6 should be '---'")
        return None

    headline = values["headline"]
    if not 40 <= len(headline) <= 90:
        problem(where, "headline length %d not in 40-90" % len(headline))
    if headline.endswith("."):
        problem(where, "headline ends with a period")
    loc = values["location"].split(", ")
    if len(loc) < 2 or not all(part.strip() for part in loc):
        problem(where, "location should be 'City, Country': %r" % values["location"])
    parse_coords(where, values["coords"])
    if values["scene"] not in SCENES:
        problem(where, "unknown scene %r" % values["scene"])
    published = None
    try:
        published = datetime.datetime.strptime(values["published"], "%Y-%m-%d %H:%M")
    except ValueError:
        problem(where, "published does not parse: %r" % values["published"])
    if published and not EARLIEST <= published <= LATEST:
        problem(where, "published %s out of range" % values["published"])

    body = "\n".join(lines[6:])
    if not body.endswith("\n") and body:
        problem(where, "file should end with a newline")
    paragraphs = [p for p in body.split("\n\n")]
    paragraphs = [p.strip("\n") for p in paragraphs if p.strip()]
    if body.startswith("\n"):
        problem(where, "blank line right after '---'")
    if "\n\n\n" in body:
        problem(where, "more than one blank line between paragraphs")
    if not 3 <= len(paragraphs) <= 8:
        problem(where, "%d paragraphs, want 3 to 8" % len(paragraphs))
    for n, p in enumerate(paragraphs, 1):
        if "\n" in p:
            problem(where, "paragraph %d spans several lines" % n)
        if p != p.strip() or "  " in p:
            problem(where, "paragraph %d has stray spaces" % n)
        words = len(p.split())
        if not 40 <= words <= 120:
            problem(where, "paragraph %d has %d words, want 40-120" % (n, words))
        sentences = len(re.findall(r"[.!?](?:['\"])?(?:\s|$)", p))
        if not 2 <= sentences <= 5:
            problem(where, "paragraph %d has about %d sentences, want 2-5" % (n, sentences))
        if p[-1] not in ".!?\"'":
            problem(where, "paragraph %d does not end a sentence" % n)
    return published


def check_news(root):
    counts = {}
    headlines = {}
    for folder in FOLDERS:
        path = os.path.join(root, "news", folder)
        if not os.path.isdir(path):
            problem(folder, "folder missing")
            counts[folder] = 0
            continue
        names = sorted(n for n in os.listdir(path) if n.endswith(".article"))
        others = [n for n in os.listdir(path)
                  if not n.endswith(".article") and not os.path.isdir(os.path.join(path, n))]
        for n in others:
            problem(folder, "unexpected file %s" % n)
        counts[folder] = len(names)
        want = 8 if folder.startswith("sport") else None
        if want and len(names) != want:
            problem(folder, "%d articles, want %d" % (len(names), want))
        if not 8 <= len(names) <= 12:
            problem(folder, "%d articles, want 8 to 12" % len(names))
        previous = None
        for i, name in enumerate(names, 1):
            where = "%s/%s" % (folder, name)
            m = NAME_RE.match(name)
            if not m:
                problem(where, "bad file name")
            elif int(m.group(1)) != i:
                problem(where, "numbering gap, expected %02d" % i)
            published = check_article(os.path.join(path, name), where)
            if published and previous and published > previous:
                problem(where, "published later than the article listed before it")
            if published:
                previous = published
            with open(os.path.join(path, name), encoding="utf-8", errors="replace") as f:
                h = f.readline().strip()
            if h in headlines:
                problem(where, "same headline as %s" % headlines[h])
            headlines[h] = where
    return counts


def check_cities(root):
    path = os.path.join(root, "weather", "cities.tsv")
    where = "weather/cities.tsv"
    try:
        with open(path, encoding="utf-8") as f:
            text = f.read()
    except (OSError, UnicodeDecodeError) as e:
        problem(where, "cannot read: %s" % e)
        return 0
    lines = text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    else:
        problem(where, "should end with a newline")
    if not lines or lines[0] != "id\tname\tcountry\tlat\tlon\tclimate":
        problem(where, "bad header line")
        return 0
    ids = set()
    names = set()
    rows = 0
    for n, line in enumerate(lines[1:], 2):
        at = "%s:%d" % (where, n)
        cols = line.split("\t")
        if len(cols) != 6:
            problem(at, "%d columns, want 6" % len(cols))
            continue
        rows += 1
        cid, name, country, lat, lon, climate = cols
        if any(c != c.strip() or not c for c in cols):
            problem(at, "empty column or stray spaces")
        if not re.match(r"^[1-9]\d{5,6}$", cid):
            problem(at, "id %r is not a 6 to 7 digit number" % cid)
        if cid in ids:
            problem(at, "duplicate id %s" % cid)
        ids.add(cid)
        key = (name, country)
        if key in names:
            problem(at, "duplicate city %s, %s" % key)
        names.add(key)
        for value, low, high, label in ((lat, -90, 90, "lat"), (lon, -180, 180, "lon")):
            if not re.match(r"^-?\d{1,3}\.\d\d$", value):
                problem(at, "%s %r should have 2 decimals" % (label, value))
                continue
            if not low <= float(value) <= high:
                problem(at, "%s %s out of range" % (label, value))
        if climate not in CLIMATES:
            problem(at, "unknown climate %r" % climate)
    if rows < 320:
        problem(where, "%d cities, want at least 320" % rows)
    required = ["London", "Paris", "Berlin", "Madrid", "Rome", "Moscow", "Cairo", "Lagos",
                "Nairobi", "Johannesburg", "Cape Town", "New York", "Los Angeles", "Chicago",
                "Toronto", "Mexico City", "Bogotá", "Lima", "São Paulo", "Buenos Aires",
                "Santiago", "Tokyo", "Beijing", "Shanghai", "Mumbai", "Delhi", "Bangkok",
                "Singapore", "Jakarta", "Sydney", "Melbourne", "Auckland", "Perth", "Dubai",
                "Istanbul", "Tehran", "Karachi", "Seoul", "Manila", "Anchorage", "Honolulu",
                "Reykjavík"]
    present = {name for name, _ in names}
    for name in required:
        if name not in present:
            problem(where, "required city %s missing" % name)
    return rows


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    counts = check_news(root)
    cities = check_cities(root)
    for folder in FOLDERS:
        print("news/%-16s %3d articles" % (folder, counts.get(folder, 0)))
    print("articles total        %3d" % sum(counts.values()))
    print("weather/cities.tsv    %3d cities" % cities)
    if problems:
        print("\n%d problem(s):" % len(problems))
        for p in problems:
            print("  " + p)
        return 1
    print("\nall checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
