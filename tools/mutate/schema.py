"""All mutants of a file in one build, chosen when the program runs.

Each place becomes a choice on PELLMORA_MUTANT (0 or unset: the program as
written): a constant `(m(7) ? 584 : m(8) ? 582 : 583)`, a dropped statement
`{if (!m(9)) {...}}`, an operator `(m(3) ? (a <= b) : m(4) ? (a >= b) : (a < b))`.
One compile and one link per file instead of one per mutant. What the schema
cannot hold (case labels, table entries, compound assignments, constants the
compiler needs while it builds) is left to be built mutant by mutant.
"""

import re

from operands import extents
from source_mask import mask, template_brackets

HELPER = ('#include <cstdlib>\n'
          'namespace { [[maybe_unused]] bool pellmora_mutant_(int id) { static const int chosen = [] '
          '{ const char* v = std::getenv("PELLMORA_MUTANT"); return v ? std::atoi(v) : 0; }(); '
          'return id == chosen; } }\n'
          '#line 1\n')


class Site:
    def __init__(self, start, end, kind, op=None):
        self.start, self.end, self.kind, self.op = start, end, kind, op
        self.mutants = []
        self.children = []


def plan(text, mutants, skip=()):
    """Sites for the mutants the schema can hold; returns (sites, left_out)."""
    code, _ = mask(text)
    brackets = template_brackets(code)
    sites, left_out = {}, []
    for m in mutants:
        if m.ident in skip:
            left_out.append(m)
            continue
        if m.kind in ('constant', 'boolean'):
            if _needed_while_building(code, m.start):
                left_out.append(m)
                continue
            key = (m.start, m.end, 'token', None)
        elif m.kind == 'drop':
            key = (m.start, m.end, 'drop', None)
        elif m.kind in ('relational', 'logical') or (m.kind == 'arithmetic' and m.orig in '+-'):
            span = extents(code, m.start, m.end, m.orig, brackets)
            if span is None:
                left_out.append(m)
                continue
            key = (span[0], span[1], 'binary', (m.start, m.end))
        else:
            left_out.append(m)
            continue
        sites.setdefault(key, Site(*key)).mutants.append(m)
    # Nest them; a place that crosses another is left out.
    roots = []
    stack = []
    for site in sorted(sites.values(), key=lambda s: (s.start, -s.end)):
        while stack and stack[-1].end <= site.start:
            stack.pop()
        if stack and site.end > stack[-1].end:
            left_out += site.mutants
            continue
        (stack[-1].children if stack else roots).append(site)
        stack.append(site)
    return roots, left_out


def _needed_while_building(code, i):
    """A constant of a constexpr declaration or an array's size."""
    for m in re.finditer(r'\b(?:constexpr|static_assert|alignas|template)\b[^;]*;', code):
        if m.start() <= i < m.end():
            return True
    a = max(code.rfind(';', 0, i), code.rfind('{', 0, i), code.rfind('}', 0, i)) + 1
    statement = code[a:i]
    if statement.count('[') <= statement.count(']'):
        return False
    before = statement[:statement.rfind('[')]
    return re.fullmatch(r'\s*(?:(?:const|static)\s+)*[\w:<>]+\s+\w+\s*', before) is not None


def _choice(site, alternatives, original):
    out = ''.join(f'pellmora_mutant_({m.ident}) ? {alt} : ' for m, alt in alternatives)
    return f'({out}{original})'


def render(text, roots):
    base, _ = mask(text, keep_strings=True)  # comments go: pieces are copied onto one line

    def span(a, b, children):
        out, at = [], a
        for child in children:
            if child.start < a or child.end > b:
                continue
            out.append(base[at:child.start])
            out.append(site_text(child))
            at = child.end
        out.append(base[at:b])
        return ''.join(out)

    def flat(s):
        return ' '.join(s.split('\n'))

    def site_text(site):
        inner = span(site.start, site.end, site.children)
        if site.kind == 'token':
            return _choice(site, [(m, m.replacement) for m in site.mutants], inner)
        if site.kind == 'drop':
            m = site.mutants[0]
            return f'{{if (!pellmora_mutant_({m.ident})) {{{inner}}}}}'
        op_start, op_end = site.op
        left = span(site.start, op_start, site.children)
        right = span(op_end, site.end, site.children)
        alts = [(m, f'({flat(left)} {m.replacement} {flat(right)})') for m in site.mutants]
        return _choice(site, alts, f'({left}{base[op_start:op_end]}{right})')

    return HELPER + span(0, len(text), roots)


def failing_lines(log_text, rel):
    return {int(n) for n in re.findall(re.escape(rel) + r':(\d+):\d+: error', log_text)}


def sites_on(roots, text, lines):
    """Mutants of the sites that touch the given lines."""
    found = set()

    def walk(sites):
        for s in sites:
            a = text.count('\n', 0, s.start) + 1
            b = text.count('\n', 0, max(s.start, s.end - 1)) + 1
            if any(a <= n <= b for n in lines):
                found.update(m.ident for m in s.mutants)
            walk(s.children)
    walk(roots)
    return found
