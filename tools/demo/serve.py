#!/usr/bin/env python3
"""Serves the sample station pages of scripts/demo on 127.0.0.1, with their dates moved to today.

    serve.py PAGES_FOLDER SERVED_FOLDER PORT_FILE

Copies every page PAGES_FOLDER/K<code>.html to SERVED_FOLDER/text/, its bulletin's header date
replaced by today's, and answers GET /text/K<code>.html on a free port of 127.0.0.1, which it
writes to PORT_FILE once it listens. Runs until it is ended. Python's standard library only.
"""

import datetime
import functools
import http.server
import pathlib
import re
import sys

# The first date of a page is its bulletin's header date: m/d/yy in the old NGM layout,
# m/d/yyyy in today's GFS and NAM layout.
HEADER_DATE = re.compile(r"\b(\d{1,2})/(\d{1,2})/(\d{4}|\d{2})\b")


def dated(page: str, day: datetime.date) -> str:
    """The page with its header date replaced by `day`, written with as many year digits."""

    def same_layout(match: re.Match) -> str:
        year = str(day.year) if len(match.group(3)) == 4 else f"{day.year % 100:02d}"
        return f"{day.month}/{day.day}/{year}"

    return HEADER_DATE.sub(same_layout, page, count=1)


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    """Serves files without logging every request on the terminal."""

    def log_message(self, format, *args):  # noqa: A002 - the base class's name
        pass


def main() -> int:
    if len(sys.argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    pages, served, port_file = (pathlib.Path(arg) for arg in sys.argv[1:])
    # The program accepts a bulletin of the computer's local date or the next day.
    today = datetime.date.today()
    text = served / "text"
    text.mkdir(parents=True, exist_ok=True)
    for page in sorted(pages.glob("K*.html")):
        (text / page.name).write_bytes(dated(page.read_text("cp1252"), today).encode("cp1252"))

    handler = functools.partial(QuietHandler, directory=str(served))
    with http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler) as server:
        # Written whole, then renamed: the script that waits for it never reads half a number.
        written = port_file.with_name(port_file.name + ".part")
        written.write_text(str(server.server_address[1]))
        written.rename(port_file)
        server.serve_forever()
    return 0


if __name__ == "__main__":
    sys.exit(main())
