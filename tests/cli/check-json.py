#!/usr/bin/env python3
"""Checks `hmf ... --json` against the schema in docs/hmf-json.schema.json.

    check-json.py SCHEMA DEFINITION HMF [ARGUMENTS...]
        runs HMF with the arguments, which must succeed and print exactly one JSON document on
        stdout, valid against $defs/DEFINITION of the schema.
    check-json.py SCHEMA --every-command HMF
        every command that `hmf --help` lists has its definition in the schema.
"""
import json
import re
import subprocess
import sys

import jsonschema


def fail(message):
    print(message, file=sys.stderr)
    sys.exit(1)


def main():
    schema_path, definition, command = sys.argv[1], sys.argv[2], sys.argv[3:]
    with open(schema_path, encoding="utf-8") as f:
        schema = json.load(f)
    jsonschema.Draft202012Validator.check_schema(schema)

    if definition == "--every-command":
        usage = subprocess.run(command + ["--help"], capture_output=True, check=True).stdout
        names = re.findall(r"^  hmf ([a-z]+) ", usage.decode("utf-8"), re.MULTILINE)
        if not names:
            fail("no command found in hmf --help")
        missing = [n for n in names if n not in schema["$defs"]]
        if missing:
            fail("commands without a JSON definition: " + ", ".join(missing))
        return

    if definition not in schema["$defs"]:
        fail(f"no definition {definition} in the schema")
    done = subprocess.run(command, capture_output=True)
    if done.returncode != 0:
        fail(f"exit code {done.returncode}: {done.stderr.decode('utf-8', 'replace')}")
    try:
        document = json.loads(done.stdout.decode("utf-8"))
    except ValueError as error:
        fail(f"not one JSON document: {error}\n{done.stdout[:500]!r}")
    root = dict(schema)
    root["$ref"] = f"#/$defs/{definition}"
    errors = sorted(jsonschema.Draft202012Validator(root).iter_errors(document), key=str)
    for error in errors[:10]:
        print(f"{'/'.join(map(str, error.absolute_path))}: {error.message}", file=sys.stderr)
    if errors:
        sys.exit(1)


if __name__ == "__main__":
    main()
