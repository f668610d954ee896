"""The mutation rules: each mutant is one small change at one place.

- relational operators: an edge moved (< <=, > >=) and the test turned
  round (< >=, <= >, > <=, >= <); == !=
- integer constants one up and one down
- && ||, true false, binary + - (and += -=)
- a statement dropped, a case label dropped (its values go to the default),
  an entry of a table written one per line dropped

Comments, string and character literals and preprocessor lines are never
touched; nor is arithmetic inside a statement that builds a text (a message).
"""

import re
from collections import Counter
from dataclasses import dataclass

from source_mask import mask, template_brackets
from statements import statements

RELATIONAL = {
    '<': ['<=', '>='],
    '<=': ['<', '>'],
    '>': ['>=', '<='],
    '>=': ['>', '<'],
    '==': ['!='],
    '!=': ['=='],
}
_OPERATOR = re.compile(r'<<=|>>=|<<|>>|<=|>=|->|==|!=|&&|\|\||\+\+|--|\+=|-=|[<>+-]')
_PP_NUMBER = re.compile(r'(?<![\w.])\.?\d(?:[eEpP][+-]|[\w.\'])*')
_INTEGER = re.compile(r'(0[xX][0-9a-fA-F]+|\d+)([uUlLzZ]*)$')
_KEYWORDS_BEFORE_UNARY = ('return', 'case', 'throw', 'co_return', 'sizeof')


@dataclass
class Mutant:
    file: str
    line: int
    start: int
    end: int
    replacement: str
    change: str
    line_text: str
    last_line: int = 0
    kind: str = ''
    orig: str = ''
    ident: int = 0  # 1, 2, ... in its file; the schema's switch

    def apply(self, text):
        return text[:self.start] + self.replacement + text[self.end:]


def _line_of(text, pos):
    return text.count('\n', 0, pos) + 1


def _line_text(text, pos):
    a = text.rfind('\n', 0, pos) + 1
    b = text.find('\n', pos)
    return text[a:b if b >= 0 else len(text)].strip()


def _statement_has_text(code, spans, pos):
    """True when the statement around pos holds a string literal."""
    a = max(code.rfind(';', 0, pos), code.rfind('{', 0, pos), code.rfind('}', 0, pos))
    b = code.find(';', pos)
    b = len(code) if b < 0 else b
    return any(a < s < b for s, _ in spans)


def _binary(code, i):
    k = i - 1
    while k >= 0 and code[k].isspace():
        k -= 1
    if k < 0:
        return False
    if code[k] in ')]':
        return True
    if code[k].isalnum() or code[k] == '_':
        word = re.search(r'(\w+)$', code[:k + 1]).group(1)
        return word not in _KEYWORDS_BEFORE_UNARY
    return False


def _integer(token):
    m = _INTEGER.match(token)
    if not m:
        return None
    digits, suffix = m.groups()
    if digits[:2] in ('0x', '0X'):
        return int(digits, 16), 'hex', digits, suffix
    if len(digits) > 1 and digits[0] == '0':
        return int(digits, 8), 'octal', digits, suffix
    return int(digits), 'decimal', digits, suffix


def _format(value, base, digits, suffix):
    if value < 0:
        return '-1' if not suffix else None
    if base == 'hex':
        width = len(digits) - 2
        return '0x' + format(value, 'X').rjust(width, '0') + suffix
    if base == 'octal':
        return '0' + format(value, 'o') + suffix
    return str(value) + suffix


def _static_asserts(code):
    spans = []
    for m in re.finditer(r'\bstatic_assert\s*\(', code):
        depth, k = 0, m.end() - 1
        while k < len(code):
            depth += code[k] == '('
            depth -= code[k] == ')'
            if depth == 0:
                break
            k += 1
        spans.append((m.start(), k))
    return spans


def mutants(path, text):
    code, strings = mask(text)
    brackets = template_brackets(code)
    asserts = _static_asserts(code)
    raw = []  # (start, end, replacement, original token, kind)

    def inside_assert(i):
        return any(a <= i < b for a, b in asserts)

    # A case label's value moved would mostly repeat another label: no build.
    labels = [(m.start(), m.end()) for m in re.finditer(r'\bcase\s+[\w:\s]*?\w\s*:(?!:)', code)]
    numbers = set()
    for m in _PP_NUMBER.finditer(code):
        numbers.update(range(m.start(), m.end()))
        if inside_assert(m.start()) or any(a <= m.start() < b for a, b in labels):
            continue
        parsed = _integer(m.group(0))
        if not parsed:
            continue
        value, base, digits, suffix = parsed
        for v in (value + 1, value - 1):
            new = _format(v, base, digits, suffix)
            if new is not None:
                raw.append((m.start(), m.end(), new, m.group(0), 'constant'))

    for m in _OPERATOR.finditer(code):
        op, i = m.group(0), m.start()
        if i in numbers or i in brackets or inside_assert(i):
            continue
        if op in RELATIONAL:
            for new in RELATIONAL[op]:
                raw.append((i, m.end(), new, op, 'relational'))
        elif op in ('&&', '||'):
            raw.append((i, m.end(), '||' if op == '&&' else '&&', op, 'logical'))
        elif op in ('+', '-', '+=', '-='):
            if op in ('+', '-') and not _binary(code, i):
                continue
            if _statement_has_text(code, strings, i):
                continue
            other = {'+': '-', '-': '+', '+=': '-=', '-=': '+='}[op]
            raw.append((i, m.end(), other, op, 'arithmetic'))

    for m in re.finditer(r'\b(true|false)\b', code):
        if inside_assert(m.start()):
            continue
        other = 'false' if m.group(1) == 'true' else 'true'
        raw.append((m.start(), m.end(), other, m.group(1), 'boolean'))

    for start, end in statements(code):
        raw.append((start, end, '{}', 'statement', 'drop'))

    # A case label whose values then go to the default (or to nothing).
    for m in re.finditer(r'\bcase\s+[\w:\s]*?\w\s*:(?!:)', code):
        raw.append((m.start(), m.end(), '', 'case', 'drop-case'))

    # Entries of a table written one per line: "{a, b},".
    for m in re.finditer(r'(?m)^[ \t]*\{[^{}\n;]*\},[ \t]*$', code):
        raw.append((m.start(), m.end(), '', 'entry', 'drop-entry'))

    result = []
    for start, end, new, orig, kind in sorted(raw, key=lambda r: (r[0], r[2])):
        line_text = _line_text(text, start)
        if kind == 'drop':
            change = 'drop ' + ' '.join(text[start:end].split())
        elif kind == 'drop-case':
            change = 'drop ' + ' '.join(code[start:end].split())
        elif kind == 'drop-entry':
            change = 'drop entry'
        else:
            change = f'{orig} -> {new}'
            same = _occurrences(code, text, start, orig, kind)
            if same[1] > 1:
                change += f' (#{same[0]})'
        result.append(Mutant(path, _line_of(text, start), start, end, new, change, line_text,
                             _line_of(text, max(start, end - 1)), kind, orig, len(result) + 1))
    # The same change on lines written alike: numbered in file order, so
    # that each can be named without its line number.
    alike = Counter((m.line_text, m.change) for m in result)
    seen = Counter()
    for m in result:
        key = (m.line_text, m.change)
        if alike[key] > 1:
            seen[key] += 1
            m.change += f' [{seen[key]}]'
    return result


def _occurrences(code, text, start, orig, kind):
    """(which one, how many) of the same token on start's line."""
    a = code.rfind('\n', 0, start) + 1
    b = code.find('\n', start)
    b = len(code) if b < 0 else b
    line = code[a:b]
    if kind == 'constant':
        pattern = r'(?<![\w.])' + re.escape(orig) + r'(?![\w.])'
    elif kind == 'boolean':
        pattern = r'\b' + orig + r'\b'
    else:
        pattern = r'(?<![<>=!&|+\-])' + re.escape(orig) + r'(?![<>=&|+\-])'
    positions = [a + m.start() for m in re.finditer(pattern, line)]
    if start not in positions:
        return 1, 1
    return positions.index(start) + 1, len(positions)
