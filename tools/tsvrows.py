"""The one reader of the tab-separated UTF-8 sources under tools/ (overrides, the name
dictionary, surname readings, the three-talent descriptions, the library word lists).

A source line is a record of tab-separated fields; blank lines and lines starting with "#"
are notes for the reader and carry no data. Each caller checks its own fields and names the
file and line number in its error, so records come with their line numbers."""


def records(path):
    """Yields (line number, fields) for every record line of the file at path."""
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            yield number, line.split("\t")
