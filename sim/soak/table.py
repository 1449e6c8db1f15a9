"""Logbook rows and the exact FTL lines they give, taken from the unit
tests' hand-written table (tests/logbook/ftllines.tsv), so that what the
soak expects at the back office never comes from the daemon.

A table row is "class, subtype, key=value values, line(s)": what the row
leaves out takes the table's defaults, "T" in a line stands for the row's
own stamp. The soak varies only the stamp (and the row ID the service
gives): rows whose values or lines fix a time of their own are left out.
"""
import datetime
import os

DEFAULTS = {"comp": "2", "P1": "0", "P2": "9", "P3": "9", "P4": "44", "P5": "55", "P6": "66", "P7": "77",
            "P8": "88", "X1": "Diesel", "X2": "ABC", "tp": "2023-01-02T03:04:05Z"}
# The entry type each class is stored under, and the values its payload
# is made of, in the stand-in service's payload order.
LOG_TYPES = {"COP": 3, "DISCHARGE": 4, "GPS": 6, "LEVEL": 7, "LOADING": 8, "SEAL": 11, "SPD": 12, "OPMM": 19,
             "SMP": 20}
FIXED_TIME = ("at", "off", "tp", "sel")
NO_LINE = ("<none>", "<empty>", "Undefined")
# The SPD period subtype whose rows the soak pairs with their period markers.
PERIOD_SUBTYPE = "6203"
# A level row's line carries the table's own stored time; the soak puts the
# row's stamp there.
LEVEL_STAMP = "20240105093000"
# The level records a LEVEL row's values fill, by the values' first letter.
LEVEL_RECORDS = {"p": "CRunProcessWM", "s": "CSetProductWM", "o": "OrderRecord", "r": "ProductRecord"}


def lines_of(text):
    """The row's lines with "T" for its stamp; none for a row without one."""
    if text in NO_LINE:
        return []
    return text.split(" | ")


def fixed_stamp(lines):
    """Whether a line carries a stamp other than the row's own."""
    return any(len(line.split(",")) > 1 and line.split(",")[1] != "T" for line in lines)


def load(src):
    """{class: [{"subtype", "values", "lines"}]} of the rows the soak can use."""
    rows = {}
    period_subtypes = set()
    with open(os.path.join(src, "tests", "logbook", "ftllines.tsv"), encoding="utf-8") as table:
        texts = table.read().split("\n")
    reference = {}
    for text in texts[texts.index("[reference]"):]:
        if text.startswith("LEVEL\t"):
            reference = dict(pair.split("=", 1) for pair in text.split("\t")[1].split())
    for text in texts[:texts.index("[reference]")]:
        cells = text.split("\t")
        if text.startswith("#") or len(cells) < 4 or cells[0] not in LOG_TYPES:
            continue
        values = dict(pair.split("=", 1) for pair in cells[2].split())
        lines = lines_of(cells[3])
        cls = cells[0]
        if cls == "LEVEL":
            # The selector only says whether the line is made; the soak
            # puts each row's line where its compartment sends it.
            if lines and not any(key in values for key in ("at", "off")):
                lines = [",".join("T" if i == 1 and f == LEVEL_STAMP else f for i, f in enumerate(line.split(",")))
                         for line in lines]
                values = dict(reference, **{k: v for k, v in values.items() if k != "sel"})
                rows.setdefault(cls, []).append({"subtype": int(cells[1]), "values": values, "lines": lines})
            continue
        if cls == "SPD" and cells[3].startswith("42,TP"):
            # A period event: its line carries the period's time, which
            # the soak sets; the markers come from the period subtype.
            period_subtypes.add(cells[1])
            cls = "SPD-PERIOD" if cells[1] == PERIOD_SUBTYPE else None
        elif fixed_stamp(lines):
            continue
        if cls is None or any(key in values for key in FIXED_TIME) or "nan" in cells[2] or "-0.0" in cells[2]:
            continue  # not-a-number and a negative zero do not pass the stand-in's JSON rows
        # "<empty>" is a usable conversion without a line: a position row
        # of it leaves the run's latest position empty.
        rows.setdefault(cls, []).append({"subtype": int(cells[1]), "values": dict(DEFAULTS, **values),
                                         "lines": lines, "usable": cells[3] not in ("<none>", "Undefined")})
    rows["SPD"] = [r for r in rows["SPD"] if str(r["subtype"]) not in period_subtypes]
    # A GPS file line cut at 99 characters loses its line end with them and
    # runs into the next line: the unit tables judge that one.
    rows["TRACK"] = [r for r in rows["GPS"] if r["lines"] and len(expected(r, "0" * 14)[0]) < 99 - 2]
    return rows


def fix_of(text, when):
    """The stand-in service's position fix of a table's "fix=" value."""
    parts = [float(x) for x in (text + ",0,0,0,0,0,0,0,0,0").split(",")[:9]]
    return {"latitude": parts[0], "longitude": parts[1], "altitude": parts[2],
            "counters": [int(x) for x in parts[3:6]], "further": parts[6:9], "time": when}


def level_records(values, offset):
    """A LEVEL row's four records; its measurement time moved back by the
    soak's zone offset, so that the line's time of day stays the table's."""
    fields = {}
    for key, value in values.items():
        if key[0] in LEVEL_RECORDS and key[1:].isdigit():
            if key == "p8":
                when = datetime.datetime.strptime(value, "%Y-%m-%dT%H:%M:%SZ") - datetime.timedelta(seconds=offset)
                value = when.strftime("%Y-%m-%dT%H:%M:%SZ")
            fields.setdefault(LEVEL_RECORDS[key[0]], {})[key[1:]] = value
    return [{"record": name, "fields": fields.get(name, {})} for name in LEVEL_RECORDS.values()]


def profile_row(cls, entry, when, offset=0):
    """The row as the stand-in service's profile takes it."""
    v = entry["values"]
    if cls == "LEVEL":
        return {"type": LOG_TYPES[cls], "subtype": entry["subtype"], "compartment": int(v["comp"]), "time": when,
                "records": level_records(v, offset)}
    p = [int(v["P%d" % i]) for i in range(1, 9)]
    row = {"type": LOG_TYPES[cls], "subtype": entry["subtype"], "compartment": int(v["comp"]), "time": when}
    if cls == "COP":
        row["payload"] = p[:4] + [v["X1"], v["X2"]] + p[4:]
    elif cls == "SPD":
        row["payload"] = p[:4] + [v["X1"], v["X2"], v["tp"]]
    elif cls == "GPS":
        row["payload"] = [fix_of(v["fix"], when)]
    elif cls == "LOADING":
        row["payload"] = [v["X1"]]
    elif cls == "DISCHARGE":
        row["payload"] = [1.5, 2.5, 3.5, "valve"]
    elif cls == "SEAL":
        row["payload"] = [1]
        row["records"] = [{"record": "CRunSealStateLGMWM", "fields": {"1": v.get("closed") == "1", "2": 2}}]
    elif cls == "OPMM":
        row["payload"] = [int(v["mode"])]
    elif cls == "SMP":
        row["payload"] = ["", "", 0, "", 0]
    return row


def expected(entry, line_stamp, period_stamp=None):
    """The row's lines as the back office must receive them: "T" is the
    row's stamp, "TP" its period's."""
    stamps = {"T": line_stamp, "TP": period_stamp}
    return [",".join(stamps.get(f) or f for f in line.split(",")) for line in entry["lines"]]
