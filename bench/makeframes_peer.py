#!/usr/bin/env python3
"""What a user would write instead of makeframes: phrase frames counted with
collections.Counter. Same words and sentences as makeframes on ASCII text.

usage: makeframes_peer.py N MIN MINVAR OUTPUT INPUT...
Writes "frame TAB frequency TAB variants" lines in byte order, for the frames
kept (at least MIN occurrences, at least MINVAR different words in the slot).
"""
import collections
import os
import re
import sys

n, min_frequency, min_variants = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3])
output, inputs = sys.argv[4], sys.argv[5:]
token = re.compile(rb"(?:[A-Za-z0-9']|(?<=[0-9])[.,](?=[0-9]))+|[.!?;:]")
frames = collections.Counter()
variants = collections.Counter()


def count(sentence):
    for i in range(len(sentence) - n + 1):
        gram = sentence[i:i + n]
        for slot in range(n):
            frame = b" ".join(gram[:slot] + [b"*"] + gram[slot + 1:])
            frames[frame] += 1
            variants[frame, gram[slot]] += 1


def files(names):
    for name in names:
        if os.path.isdir(name):
            found = [os.path.join(d, f) for d, _, fs in os.walk(name) for f in fs]
            yield from sorted(found)
        else:
            yield name


for name in files(inputs):
    sentence = []
    with open(name, "rb") as text:
        for line in text:
            if not line.strip(b" \t\r\n"):
                count(sentence)
                sentence = []
                continue
            for match in token.finditer(line):
                word = match.group()
                if word in (b".", b"!", b"?", b";", b":"):
                    count(sentence)
                    sentence = []
                    continue
                word = word.lower().strip(b"'")
                if word:
                    sentence.append(word)
    count(sentence)

distinct = collections.Counter(frame for frame, _ in variants)
with open(output, "wb") as out:
    for frame in sorted(frames):
        if frames[frame] >= min_frequency and distinct[frame] >= min_variants:
            out.write(b"%s\t%d\t%d\n" % (frame, frames[frame], distinct[frame]))
