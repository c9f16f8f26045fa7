# Reads an ADIF file with the ADIF reader of pyqso (Debian's package) and prints what it read:
# "record N ok" and one "  TAG=value" line per field it kept, by tag. pyqso keeps only the fields
# it knows, with values valid to it, and reads the file in the locale's charset (run it with -X utf8).
#   python3 -X utf8 read_pyqso.py <file.adi>
import logging
import sys

from pyqso.adif import ADIF

logging.disable(logging.CRITICAL)
for n, record in enumerate(ADIF().read(sys.argv[1]), 1):
    print(f"record {n} ok")
    for tag in sorted(record):
        print(f"  {tag}={record[tag]}")
