#!/usr/bin/env python3
"""A vehicle profile with the truck's setups and ROWS COP rows one second
apart from 2026-12-01 06:00 UTC (none: a vehicle with an empty logbook).
With PERIOD_AT and LEVEL_AT, rows PERIOD_AT and PERIOD_AT + 1 are the
truck's SPD period rows (6203, then 6208) and row LEVEL_AT its level-volume
row of compartment 1 (row IDs count from 1); each keeps its second, its
period time included, so every row's FTL line has a stamp of its own.
Usage: backlog.py TRUCK_JSON OUT_JSON [ROWS [PERIOD_AT LEVEL_AT]]"""
import datetime
import json
import sys

d = json.load(open(sys.argv[1]))
t0 = datetime.datetime(2026, 12, 1, 6, 0, 0)
stamp = lambda i: (t0 + datetime.timedelta(seconds=i)).isoformat() + "Z"
rows = [{"type": 3, "subtype": 6001, "time": stamp(i), "payload": [0, 0, i % 2, 0, "", "", 0, 0, 0, 0]}
        for i in range(int(sys.argv[3] if len(sys.argv) > 3 else 0))]
if len(sys.argv) > 5:
    truck = d["logbook"]
    pick = lambda match: dict(next(r for r in truck if all(r.get(k) == v for k, v in match.items())))
    period_at, level_at = int(sys.argv[4]), int(sys.argv[5])
    for row_id, row in ((period_at, pick({"type": 12, "subtype": 6203})), (period_at + 1, pick({"type": 12, "subtype": 6208})),
                        (level_at, pick({"type": 7, "compartment": 1}))):
        row["time"] = stamp(row_id - 1)
        if row["type"] == 12:
            row["payload"] = row["payload"][:-1] + [row["time"]]
        rows[row_id - 1] = row
d["logbook"] = rows
json.dump(d, open(sys.argv[2], "w"))
