#!/usr/bin/env python3
"""Counts a corpus's n-grams on a Dask cluster, for makeframes -counts.

    tools/dask_counts.py [--scheduler ADDRESS | --workers K] [--n N]
                         [--shards S] [--makeframes PATH] [--option OPT]...
                         corpus... merged-folder
    makeframes -counts -n N merged-folder outprefix

The corpus's files (folders are read recursively) are dealt into shards of
whole files. The map step runs `makeframes -ngrams -min 1` on each shard on
the workers, so words and sentences are found exactly as in a run on the
whole corpus; the engine then sums the counts of each n-gram over the shards
and writes the merged list into merged-folder as part files (n-gram TAB
count, one line each), which makeframes -counts reads as one list. The frame
files and n-gram list it writes are those of makeframes on the whole corpus.
Lost on this path: which files an n-gram occurs in and the corpus's size, so
the statistics have no range and no frequency per million, and -minrange
cannot be used.

Every worker needs makeframes at the same path and the corpus's files under
the same names (a shared folder). Without --scheduler, a LocalCluster of K
worker processes on this machine runs the job. Options given with --option
(such as -keepcase, -hyphens join, -codepage 1251; one word each, repeated)
reach every map run; they must be those the direct run would be given.
Needs Dask's distributed scheduler (Debian: python3-distributed).
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile

import dask.bag
from distributed import Client, LocalCluster


def corpus_files(inputs):
    files = []
    for name in inputs:
        if os.path.isdir(name):
            for folder, _, names in os.walk(name):
                files.extend(os.path.join(folder, n) for n in names)
        else:
            files.append(name)
    return sorted(files)


def count_shard(shard, makeframes, n, options):
    """The n-gram counts of one shard's files, as (n-gram, count) pairs."""
    work = tempfile.mkdtemp(prefix="dask-counts-")
    try:
        prefix = os.path.join(work, "shard")
        run = subprocess.run(
            [makeframes, "-q", "-n", str(n), "-ngrams", "-min", "1", "-minvar", "1", "-threads", "1"]
            + options + shard + [prefix],
            capture_output=True)
        if run.returncode != 0:
            message = run.stderr.decode("latin-1")
            if "no frame occurs" in message:
                return []  # a shard too short to hold an n-gram
            raise RuntimeError("makeframes failed on a shard: " + message)
        pairs = []
        # Latin-1 keeps every byte as it is, in whatever code page the words are.
        with open(prefix + "-Ngrams.txt", encoding="latin-1", newline="") as ngrams:
            for line in ngrams:
                phrase, count = line.rstrip("\r\n").split("\t")
                pairs.append((phrase, int(count)))
        return pairs
    finally:
        shutil.rmtree(work, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--scheduler", help="address of a running Dask scheduler")
    parser.add_argument("--workers", type=int, default=os.cpu_count(), help="local worker processes")
    parser.add_argument("--n", type=int, default=4, help="n-gram length (one)")
    parser.add_argument("--shards", type=int, default=0, help="shards (default: 4 per worker)")
    parser.add_argument("--makeframes", default=shutil.which("makeframes") or "makeframes")
    parser.add_argument("--option", action="append", default=[], help="an option for every map run")
    parser.add_argument("inputs", nargs="+")
    args = parser.parse_args()
    if len(args.inputs) < 2:
        parser.error("needs at least one input and the merged folder")
    *inputs, merged = args.inputs
    files = corpus_files(inputs)
    if not files:
        parser.error("no file among the inputs")
    if os.path.exists(merged):
        parser.error(merged + " exists: give a new folder for the merged list")
    makeframes = os.path.abspath(args.makeframes) if os.path.exists(args.makeframes) else args.makeframes

    cluster = None
    if args.scheduler:
        client = Client(args.scheduler)
    else:
        cluster = LocalCluster(n_workers=args.workers, threads_per_worker=1, processes=True)
        client = Client(cluster)
    try:
        workers = max(1, len(client.scheduler_info()["workers"]))
        count = args.shards or 4 * workers
        # At most 500 files a shard, so that a command line holds them.
        count = max(count, (len(files) + 499) // 500)
        shards = [files[k::count] for k in range(count) if files[k::count]]
        totals = (dask.bag.from_sequence(shards, npartitions=len(shards))
                  .map(count_shard, makeframes, args.n, args.option)
                  .flatten()
                  .foldby(lambda pair: pair[0], lambda total, pair: total + pair[1], 0,
                          lambda a, b: a + b, 0, split_every=8)
                  .map(lambda pair: "%s\t%d" % pair))
        os.makedirs(merged)
        totals.to_textfiles(os.path.join(merged, "part-*.txt"), encoding="latin-1")
    finally:
        client.close()
        if cluster is not None:
            cluster.close()
    print("merged counts of %d files in %d shards in %s; now: makeframes -counts -n %d %s outprefix"
          % (len(files), len(shards), merged, args.n, merged))


if __name__ == "__main__":
    sys.exit(main())
