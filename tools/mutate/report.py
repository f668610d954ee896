"""The run's outcome: a table by file, the survivors, and what did not build."""

from collections import Counter, defaultdict


def _percent(killed, alive):
    total = killed + alive
    return f'{100.0 * killed / total:.1f} %' if total else '-'


def write(path, results, stale, seconds, rerun=False):
    """results: [(mutant, status, detail)], status killed/survived/equivalent/stillborn."""
    by_file = defaultdict(Counter)
    by_folder = defaultdict(Counter)
    for mutant, status, _ in results:
        by_file[mutant.file][status] += 1
        by_folder[mutant.file.split('/')[0]][status] += 1
    lines = ['# Mutation testing', '',
             f'{len(results)} mutants; this run took {seconds / 60:.1f} min'
             + (' (only what survived last time ran again)' if rerun else '') +
             '. Killed: a check failed or timed out. Equivalent: listed in '
             'tests/mutation/equivalent.txt. Did not build: not counted.',
             '', '| File | Mutants | Killed | Survived | Equivalent | Did not build | Score |',
             '|---|---|---|---|---|---|---|']
    for name, c in sorted(by_folder.items()):
        lines.append(f'| **{name}/** | {sum(c.values())} | {c["killed"]} | {c["survived"]} | '
                     f'{c["equivalent"]} | {c["stillborn"]} | '
                     f'**{_percent(c["killed"], c["survived"])}** |')
    for name, c in sorted(by_file.items()):
        lines.append(f'| {name} | {sum(c.values())} | {c["killed"]} | {c["survived"]} | '
                     f'{c["equivalent"]} | {c["stillborn"]} | {_percent(c["killed"], c["survived"])} |')
    survivors = [(m, d) for m, s, d in results if s == 'survived']
    lines += ['', f'## Survivors ({len(survivors)})', '']
    lines += [f'- `{m.file}:{m.line}` {m.change} — `{m.line_text}`' for m, _ in survivors] or ['None.']
    if stale:
        lines += ['', '## Equivalent entries that matched no mutant', '']
        lines += [f'- {f} | {t} | {c}' for f, t, c in stale]
    killers = Counter(d for _, s, d in results if s == 'killed')
    lines += ['', '## What killed them', '']
    lines += [f'- {name}: {n}' for name, n in killers.most_common(15)]
    with open(path, 'w', encoding='utf-8') as f:
        f.write('\n'.join(lines) + '\n')
    return by_folder


def summary(by_folder, survivors, report_path):
    out = []
    for name, c in sorted(by_folder.items()):
        out.append(f'{name}/: {c["killed"]} killed, {c["survived"]} survived, '
                   f'{c["equivalent"]} equivalent, {c["stillborn"]} did not build: '
                   f'{_percent(c["killed"], c["survived"])} of the non-equivalent killed')
    for m in survivors:
        out.append(f'  survived {m.file}:{m.line}: {m.change}')
    out.append(f'report: {report_path}')
    return '\n'.join(out)
