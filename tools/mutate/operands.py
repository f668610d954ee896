"""The operands of a binary operator in masked code, by C++ precedence.

Enough for the expressions of game/ and scores/: the left operand takes in
tighter and equally tight operators (they group to the left), the right one
only tighter ones; brackets, template argument lists, `?`, `:`, `;`, `,`,
assignments and `return` end them. None when the scan is unsure; the
mutant is then built on its own.
"""

import re

PRECEDENCE = {
    '*': 5, '/': 5, '%': 5, '+': 6, '-': 6, '<<': 7, '>>': 7,
    '<': 9, '<=': 9, '>': 9, '>=': 9, '==': 10, '!=': 10,
    '&': 11, '^': 12, '|': 13, '&&': 14, '||': 15,
}
_TOKEN = re.compile(r'<<=|>>=|<<|>>|<=|>=|->|==|!=|&&|\|\||\+\+|--|\+=|-=|\*=|/=|%=|&=|\|=|\^=|'
                    r'::|[A-Za-z_]\w*|\.?\d(?:[eEpP][+-]|[\w.\'])*|\S')
_STOPPERS = {';', ',', '?', ':', '=', '+=', '-=', '*=', '/=', '%=', '&=', '|=', '^=', '<<=', '>>=',
             '{', '}'}
_STOP_WORDS = {'return', 'case', 'throw', 'co_return', 'else', 'do'}


def _tokens(code, a, b, brackets):
    out = []
    for m in _TOKEN.finditer(code, a, b):
        t = m.group(0)
        if t in ('<', '>') and m.start() in brackets:
            t = '(' if t == '<' else ')'
        out.append((m.start(), m.end(), t))
    return out


def _unary_at(tokens, k):
    """Whether tokens[k] (+, -, *, &) is unary: nothing that ends an operand before it."""
    if k == 0:
        return True
    prev = tokens[k - 1][2]
    return not (prev in (')', ']') or re.match(r'[\w.]', prev) and prev not in _STOP_WORDS)


def extents(code, i, j, op, brackets, window=600):
    """(start, end) of `left op right`, or None."""
    level = PRECEDENCE[op]
    a = max(0, i - window)
    left = _tokens(code, a, i, brackets)
    start = None
    depth = 0
    for k in range(len(left) - 1, -1, -1):
        s, _, t = left[k]
        if t in (')', ']'):
            depth += 1
        elif t in ('(', '['):
            if depth == 0:
                break
            depth -= 1
        elif depth == 0:
            if t in _STOPPERS or t in _STOP_WORDS:
                break
            if t in PRECEDENCE and not (t in '+-*&' and _unary_at(left, k)) and PRECEDENCE[t] > level:
                break
        start = s
    if start is None or depth != 0:
        return None
    right = _tokens(code, j, min(len(code), j + window), brackets)
    end = None
    depth = 0
    for k, (s, e, t) in enumerate(right):
        if t in ('(', '['):
            depth += 1
        elif t in (')', ']'):
            if depth == 0:
                break
            depth -= 1
        elif depth == 0:
            if t in _STOPPERS or t in _STOP_WORDS:
                break
            if (t in PRECEDENCE and k > 0 and not (t in '+-*&' and _unary_at(right, k))
                    and PRECEDENCE[t] >= level):
                break
        end = e
    if end is None or depth != 0:
        return None
    return start, end
