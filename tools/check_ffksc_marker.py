#!/usr/bin/python3
"""Fails unless the component template holds its area marker exactly once."""
import sys

data = open(sys.argv[1], 'rb').read()
count = data.count(b'FFCD')
if count != 1:
    sys.exit('%s: the area marker occurs %d times, not once' % (sys.argv[1], count))
