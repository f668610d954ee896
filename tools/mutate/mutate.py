#!/usr/bin/env python3
"""Mutation testing of the game core: make mutate [FILES="game/GameTick.cpp ..."].

Every mutant (rules.py) is written alone into a worker's copy of the project
(workspace.py), built there, and run against the fast native suite
(checks.py): the checks that killed mutants of the same file come first, then
the rest from the quickest, and the first failure or timeout kills it. Those
listed in tests/mutation/equivalent.txt are not run. The report goes to
BUILD/report.md, the summary to standard output.
"""

import argparse
import glob
import json
import os
import queue
import signal
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import checks as suite  # noqa: E402
import coverage  # noqa: E402
import report  # noqa: E402
import schema  # noqa: E402
from equivalents import Equivalents  # noqa: E402
from rules import mutants  # noqa: E402
from workspace import TARGETS, Workspace, tracked_files  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# Sources first: a header's mutant rebuilds much of the project.
DEFAULT_FILES = ('game/*.cpp', 'scores/*.cpp', 'game/*.h', 'scores/*.h')


def parse_args():
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument('--files', default='', help='files or patterns, relative to the project')
    p.add_argument('--build', default=os.path.join(ROOT, 'build-mutate'))
    p.add_argument('--jobs', type=int, default=os.cpu_count() or 1)
    p.add_argument('--rerun-survivors', action='store_true',
                   help="run again only what survived (or is new) since the last results")
    return p.parse_args()


def chosen_files(pattern_text):
    patterns = pattern_text.split() or DEFAULT_FILES
    files = []
    for pattern in patterns:
        found = sorted(glob.glob(pattern, root_dir=ROOT))
        if not found:
            raise SystemExit(f'mutate: no file matches {pattern}')
        files += [f for f in found if f not in files]
    return files


def keyed(all_mutants):
    seen = {}
    for m in all_mutants:
        key = (m.file, ' '.join(m.line_text.split()), m.change)
        seen[key] = seen.get(key, 0) + 1
        yield key + (seen[key],), m


class Run:
    def __init__(self, checks, cover, jobs_left):
        self.checks = checks
        self.cover = cover
        self.killers = {}  # file -> names of checks that killed its mutants, latest first
        self.lock = threading.Lock()
        self.results = {}
        self.done = 0
        self.total = jobs_left

    def order(self, mutant):
        """The checks that run the mutant's lines: its file's killers first, then the quickest."""
        reaching = self.cover.reaching(mutant, self.checks)
        with self.lock:
            first = list(self.killers.get(mutant.file, []))
        by_name = {c.name: c for c in self.checks}
        rest = sorted((c for c in self.checks if c.name not in first), key=lambda c: c.seconds)
        order = [by_name[n] for n in first] + rest
        return order if reaching is None else [c for c in order if c in reaching]

    def killed_by(self, mutant, check):
        with self.lock:
            names = self.killers.setdefault(mutant.file, [])
            if check.name in names:
                names.remove(check.name)
            names.insert(0, check.name)

    def try_checks(self, ws, mutant, chosen, built):
        """Runs the mutant's checks; built: targets ready (None: build each as needed)."""
        order = self.order(mutant)
        if not order:
            return 'survived', 'no check runs this line'
        for check in order:
            if built is not None and check.target not in built:
                if not ws.build([check.target]):
                    return 'stillborn', ''
                built.add(check.target)
            outcome = check.run(ws, check.timeout(), chosen)
            if outcome != 'pass':
                self.killed_by(mutant, check)
                return 'killed', check.name + (' (timeout)' if outcome == 'timeout' else '')
        return 'survived', ''

    def schema_build(self, ws, file, text, todo):
        """Builds what the schema holds; returns the mutants left to build one by one."""
        skip = set()
        for _ in range(4):
            roots, left = schema.plan(text, todo, skip)
            if not roots:
                return left
            ws.write(file, schema.render(text, roots))
            if ws.build(TARGETS):
                # With no mutant chosen the schema must play as the program does.
                quick = [c for c in self.checks if c.target == 'pellmora-sim']
                if all(c.run(ws, c.timeout(), 0) == 'pass' for c in quick):
                    return left
                return todo
            with open(ws.log, encoding='utf-8', errors='replace') as log:
                lines = schema.failing_lines(log.read(), file)
            bad = schema.sites_on(roots, text, lines) - skip
            if not bad:
                return todo
            skip |= bad
        return todo

    def record(self, key, mutant, status, detail):
        with self.lock:
            self.results[key] = (mutant, status, detail)
            self.done += 1
            print(f'[{self.done}/{self.total}] {mutant.file}:{mutant.line} {mutant.change[:60]}: '
                  f'{status} {detail}', file=sys.stderr, flush=True)

    def do_file(self, ws, file, items, text):
        todo = [m for _, m in items]
        keys = {m.ident: k for k, m in items}
        # Not run by any check: nothing to build.
        for m in list(todo):
            if self.order(m) == []:
                self.record(keys[m.ident], m, 'survived', 'no check runs this line')
                todo.remove(m)
        left = self.schema_build(ws, file, text, todo) if todo else []
        alone = {m.ident for m in left}
        for m in todo:
            if m.ident not in alone:
                self.record(keys[m.ident], m, *self.try_checks(ws, m, m.ident, None))
        for m in left:
            ws.write(file, m.apply(text))
            self.record(keys[m.ident], m, *self.try_checks(ws, m, 0, set()))
        ws.restore()

    def worker(self, ws, jobs, texts):
        while True:
            try:
                file, items = jobs.get_nowait()
            except queue.Empty:
                return
            self.do_file(ws, file, items, texts[file])


def prepare(build, jobs):
    files = tracked_files(ROOT)
    spaces = [Workspace(ROOT, os.path.join(build, f'w{i}')) for i in range(jobs)]
    for ws in spaces:
        ws.sync(files)
        ws.configure()
    # The first copy with both cores, the others then mostly relink.
    for ws in spaces:
        if not ws.build(TARGETS, jobs=jobs):
            raise SystemExit(f'mutate: the unmutated build fails, see {ws.log}')
    return spaces, files


def main():
    args = parse_args()
    args.build = os.path.abspath(args.build)  # checks run in folders of their own
    signal.signal(signal.SIGINT, signal.default_int_handler)
    signal.signal(signal.SIGTERM, signal.default_int_handler)
    files = chosen_files(args.files)
    os.makedirs(args.build, exist_ok=True)
    started = time.monotonic()
    spaces, tracked = prepare(args.build, max(1, args.jobs))
    checks = suite.discover(spaces[0])
    failing = suite.baseline(spaces[0], checks)
    if failing:
        raise SystemExit('mutate: these fail without any mutant: ' + ', '.join(failing))
    cover = coverage.measure(ROOT, args.build, tracked, checks, sys.stderr)

    equivalents = Equivalents(os.path.join(ROOT, 'tests', 'mutation', 'equivalent.txt'))
    texts = {}
    all_mutants = []
    for f in files:
        with open(os.path.join(ROOT, f), encoding='utf-8') as handle:
            texts[f] = handle.read()
        all_mutants += mutants(f, texts[f])

    results_path = os.path.join(args.build, 'results.json')
    earlier = {}
    if args.rerun_survivors and os.path.exists(results_path):
        with open(results_path, encoding='utf-8') as handle:
            for r in json.load(handle):
                earlier[tuple(r['key'])] = (r['status'], r['detail'])

    per_file = {}
    final = {}
    for key, m in keyed(all_mutants):
        why = equivalents.reason(m)
        if why:
            final[key] = (m, 'equivalent', why)
        elif key in earlier and earlier[key][0] in ('killed', 'stillborn'):
            final[key] = (m,) + earlier[key]
        else:
            per_file.setdefault(m.file, []).append((key, m))
    jobs = queue.Queue()
    # The biggest files first, so that the workers finish together.
    for file in sorted(per_file, key=lambda f: -len(per_file[f])):
        jobs.put((file, per_file[file]))
    run = Run(checks, cover, sum(len(v) for v in per_file.values()))
    threads = [threading.Thread(target=run.worker, args=(ws, jobs, texts), daemon=True)
               for ws in spaces]
    interrupted = False
    try:
        for t in threads:
            t.start()
        while any(t.is_alive() for t in threads):
            for t in threads:
                t.join(0.5)
    except KeyboardInterrupt:
        interrupted = True
        print('mutate: interrupted; the copies are put back', file=sys.stderr)
    finally:
        for ws in spaces:
            ws.restore()

    with run.lock:
        final.update(run.results)
    ordered = [final[k] for k, _ in keyed(all_mutants) if k in final]
    with open(results_path, 'w', encoding='utf-8') as handle:
        json.dump([{'key': list(k), 'status': final[k][1], 'detail': final[k][2]}
                   for k, _ in keyed(all_mutants) if k in final], handle, ensure_ascii=False,
                  indent=0)
    stale = equivalents.unused(set(files))
    report_path = os.path.join(args.build, 'report.md')
    by_folder = report.write(report_path, ordered, stale, time.monotonic() - started,
                             args.rerun_survivors)
    print(report.summary(by_folder, [m for m, s, _ in ordered if s == 'survived'], report_path))
    if interrupted:
        print(f'interrupted: {len(ordered)} of {len(all_mutants)} mutants decided')
        return 130
    return 0


if __name__ == '__main__':
    sys.exit(main())
