"""Which checks run which lines of the mutated files.

One build with gcov counters; each check is run alone and the lines of
game/ and scores/ it executed are kept. A mutant then meets only the checks
that run its lines: a check that never runs a line cannot tell its mutants
apart. A line the compiler left no code on (a constant folded at build
time) is unknown, and its mutants meet every check. The map is kept in
BUILD/coverage.json and made again when the sources or tests change.
"""

import glob
import hashlib
import json
import os
import subprocess

from workspace import TARGETS, Workspace

FOLDERS = ('game/', 'scores/')


def _gcov(obj, src):
    """{(file, line): count} for the core's sources, from the counters present."""
    found = {}
    gcda = glob.glob(os.path.join(obj, '**', '*.gcda'), recursive=True)
    if not gcda:
        return found
    out = subprocess.run(['gcov', '--json-format', '--stdout', *gcda], cwd=obj,
                         capture_output=True, text=True).stdout
    for doc in out.splitlines():
        doc = doc.strip()
        if not doc.startswith('{'):
            continue
        for entry in json.loads(doc).get('files', []):
            path = os.path.relpath(os.path.normpath(os.path.join(obj, entry['file'])), src)
            if not path.startswith(FOLDERS):
                continue
            for line in entry['lines']:
                key = (path, line['line_number'])
                found[key] = found.get(key, 0) + line['count']
    return found


def _fingerprint(root, files):
    """The sources the lines belong to; tests are told apart by check."""
    h = hashlib.sha256()
    for rel in sorted(files):
        if rel.startswith(FOLDERS + ('tools/pellmora-sim/', 'headless/', 'play/', 'host/', 'web/')):
            with open(os.path.join(root, rel), 'rb') as f:
                h.update(rel.encode() + b'\0' + f.read())
    return h.hexdigest()


def _check_key(root, check):
    """A scenario by its script; a test suite by every test source of its binary."""
    rel = getattr(check, 'rel', None)
    paths = [os.path.join(root, rel)] if rel else sorted(
        glob.glob(os.path.join(root, 'tests', check.target.split('_')[1], '*.cpp')) +
        glob.glob(os.path.join(root, 'tests', 'support', '*')))
    h = hashlib.sha256()
    for path in paths:
        with open(path, 'rb') as f:
            h.update(f.read())
    return check.name + ':' + h.hexdigest()[:16]


class Coverage:
    def __init__(self, lines, instrumented):
        self.lines = lines  # check name -> set of (file, line)
        self.instrumented = instrumented  # (file, line) with code on it

    def reaching(self, mutant, checks):
        """The checks that run the mutant's lines; None when nothing is known."""
        keys = [(mutant.file, n) for n in range(mutant.line, mutant.last_line + 1)]
        if not any(k in self.instrumented for k in keys):
            return None
        return [c for c in checks
                if getattr(c, 'forks', False) or any(k in self.lines.get(c.name, ()) for k in keys)]


def measure(root, build, files, checks, log):
    cache = os.path.join(build, 'coverage.json')
    stamp = _fingerprint(root, files)
    known, instrumented = {}, set()
    if os.path.exists(cache):
        with open(cache, encoding='utf-8') as f:
            data = json.load(f)
        if data.get('stamp') == stamp:
            known = {k: {tuple(x) for x in v} for k, v in data['lines'].items()}
            instrumented = {tuple(x) for x in data['instrumented']}
    keys = {c.name: _check_key(root, c) for c in checks}
    missing = [c for c in checks if keys[c.name] not in known]
    if missing:
        ws = Workspace(root, os.path.join(build, 'coverage'))
        ws.sync(files)
        ws.configure(flags='-O0 --coverage')
        if not ws.build(TARGETS, jobs=os.cpu_count() or 1):
            raise SystemExit(f'mutate: the coverage build fails, see {ws.log}')
        for n, check in enumerate(missing, 1):
            for old in glob.glob(os.path.join(ws.obj, '**', '*.gcda'), recursive=True):
                os.remove(old)
            check.run(ws, 600)
            counts = _gcov(ws.obj, ws.src)
            instrumented.update(counts)
            known[keys[check.name]] = {k for k, c in counts.items() if c > 0}
            print(f'coverage [{n}/{len(missing)}] {check.name}: '
                  f'{len(known[keys[check.name]])} lines', file=log, flush=True)
        with open(cache, 'w', encoding='utf-8') as f:
            json.dump({'stamp': stamp, 'lines': {k: sorted(v) for k, v in known.items()},
                       'instrumented': sorted(instrumented)}, f)
    return Coverage({c.name: known[keys[c.name]] for c in checks}, instrumented)
