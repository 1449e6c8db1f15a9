#!/usr/bin/env python3
"""A vehicle profile with the truck's setups and ROWS COP rows one second
apart from 2026-12-01 06:00 UTC (none: a vehicle with an empty logbook).
Usage: backlog.py TRUCK_JSON OUT_JSON [ROWS]"""
import datetime
import json
import sys

d = json.load(open(sys.argv[1]))
t0 = datetime.datetime(2026, 12, 1, 6, 0, 0)
d["logbook"] = [{"type": 3, "subtype": 6001, "time": (t0 + datetime.timedelta(seconds=i)).isoformat() + "Z",
                 "payload": [0, 0, i % 2, 0, "", "", 0, 0, 0, 0]} for i in range(int(sys.argv[3] if len(sys.argv) > 3 else 0))]
json.dump(d, open(sys.argv[2], "w"))
