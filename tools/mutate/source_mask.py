"""The parts of a C++ file that are code.

`mask` gives the text back at the same length with comments, the insides of
string and character literals and preprocessor lines blanked, so that the
mutation rules only ever see code. `string_spans` says where the string
literals were: a statement that builds a text is a message, not a rule.
"""

import re


def mask(text, keep_strings=False):
    """Returns (code, string_spans); with keep_strings only comments go."""
    out = list(text)
    spans = []
    i, n = 0, len(text)
    line_start = True
    while i < n:
        c = text[i]
        if line_start and c == '#':
            # A preprocessor line, with its continuations.
            while i < n and not (text[i] == '\n' and text[i - 1] != '\\'):
                if not keep_strings:
                    out[i] = ' '
                i += 1
            continue
        if c == '\n':
            line_start = True
            i += 1
            continue
        if not c.isspace():
            line_start = False
        if text.startswith('//', i):
            while i < n and text[i] != '\n':
                out[i] = ' '
                i += 1
            continue
        if text.startswith('/*', i):
            end = text.find('*/', i + 2)
            end = n if end < 0 else end + 2
            for k in range(i, end):
                if out[k] != '\n':
                    out[k] = ' '
            i = end
            continue
        if c in '"\'':
            if c == "'" and i > 0 and (text[i - 1].isalnum()):
                i += 1  # a digit separator
                continue
            k = i + 1
            while k < n and text[k] != c:
                k += 2 if text[k] == '\\' else 1
            for j in range(i + 1, min(k, n)):
                out[j] = text[j] if keep_strings else ' '
            if c == '"':
                spans.append((i, k + 1))
            i = k + 1
            continue
        i += 1
    return ''.join(out), spans


_TEMPLATE = re.compile(r'<[\w:\s,]*(?:<[\w:\s,]*>[\w:\s,]*)*[*&]*\s*>')


def template_brackets(code):
    """Positions of < and > that open and close template arguments."""
    found = set()
    for m in re.finditer(r'<', code):
        i = m.start()
        k = i - 1
        while k >= 0 and code[k] == ' ':
            k -= 1
        if k < 0 or not (code[k].isalnum() or code[k] == '_'):
            continue
        t = _TEMPLATE.match(code, i)
        if not t:
            continue
        for j in range(t.start(), t.end()):
            if code[j] in '<>':
                found.add(j)
    return found
