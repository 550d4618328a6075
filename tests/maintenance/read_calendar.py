#!/usr/bin/python3
# Reads an iCalendar file the way a calendar program would, with Debian's python3-icalendar, and
# expands each event's recurrence with python3-dateutil. Prints one JSON object per event: its
# UID, SUMMARY, DESCRIPTION, the parser's complaints, and its first COUNT dates.
#
#     read_calendar.py FILE COUNT
import datetime
import itertools
import json
import sys

from dateutil.rrule import rrulestr
from icalendar import Calendar

path, count = sys.argv[1], int(sys.argv[2])
with open(path, "rb") as f:
    calendar = Calendar.from_ical(f.read())
if calendar.errors:
    print(json.dumps({"calendar-errors": [str(e) for e in calendar.errors]}))
for event in calendar.walk("VEVENT"):
    start = event.decoded("DTSTART")
    if isinstance(start, datetime.datetime):
        raise SystemExit("DTSTART is not a date: %r" % start)
    rule = event.get("RRULE").to_ical().decode()
    dates = itertools.islice(
        rrulestr(rule, dtstart=datetime.datetime.combine(start, datetime.time())), count)
    print(json.dumps({
        "uid": str(event.get("UID")),
        "summary": str(event.get("SUMMARY")),
        "description": str(event.get("DESCRIPTION")),
        "end": event.decoded("DTEND").isoformat(),
        "errors": [str(e) for e in event.errors],
        "dates": [d.date().isoformat() for d in dates],
    }))
