"""Where the statements of function bodies are, for the rule that drops them.

A plain scan of the masked code with a stack of what each open bracket is:
a block (braces after `)`, `else`, a label or another statement), an
initializer (after `=`, `,`, `return`, or inside another initializer), a
namespace, class or enum, or parentheses. Only statements directly inside a
block are offered, lambdas' included; never declarations (dropping one would
not build) nor a `return` with a value.
"""

import re

_HEADS = ('if', 'for', 'while', 'switch')
_NO_DROP = ('case', 'default', 'using', 'typedef', 'static_assert', 'namespace', 'goto')
_DECLARATION = re.compile(
    r'(?:(?:const|constexpr|static|thread_local|inline)\s+)*'
    r'[\w:]+(?:\s*<[^;=]*>)?(?:\s*[*&]+\s*|\s+)\w+\s*(?:=|\{|\(|;|\[)')
_WORD = re.compile(r'[A-Za-z_]\w*')
_SCOPE_HEAD = re.compile(r'\b(namespace|struct|class|enum|union)\b[^;{}()]*$')


def _brace_kind(code, i, top):
    k = i - 1
    while k >= 0 and code[k].isspace():
        k -= 1
    before = code[k] if k >= 0 else ';'
    if before == ')' or before == ']':
        return 'block'  # a function, a control statement, a lambda
    if top in ('init', 'paren'):
        return 'init'
    if before in ';{}:':
        return 'block'
    word = re.search(r'(\w+)\s*$', code[max(0, k - 40):k + 1])
    if word and word.group(1) in ('else', 'do', 'try', 'const', 'noexcept', 'override', 'mutable'):
        return 'block'
    if _SCOPE_HEAD.search(code[max(0, k - 300):k + 1]):
        return 'scope'
    return 'init'


def _matching_paren(code, i):
    depth = 0
    for k in range(i, len(code)):
        if code[k] == '(':
            depth += 1
        elif code[k] == ')':
            depth -= 1
            if depth == 0:
                return k
    return len(code) - 1


def _droppable(text):
    first = _WORD.match(text)
    if first and first.group(0) in _NO_DROP:
        return False
    if re.match(r'return\b\s*[^;\s]', text):
        return False
    return not _DECLARATION.match(text)


def statements(code):
    """Returns [(start, end)]: code[start:end] is one statement ending in ';'."""
    found = []
    stack = [['scope', None]]  # [kind, start of the running statement]
    i, n = 0, len(code)
    while i < n:
        c = code[i]
        top = stack[-1]
        if c.isspace():
            i += 1
            continue
        if top[0] == 'block' and top[1] is None and c not in '{};':
            m = _WORD.match(code, i)
            word = m.group(0) if m else ''
            if word in _HEADS:
                i = _matching_paren(code, code.index('(', i)) + 1
                continue
            if word in ('else', 'do', 'try'):
                i = m.end()
                continue
            if word in ('case', 'default'):
                k = m.end()
                while not (code[k] == ':' and code[k + 1] != ':' and code[k - 1] != ':'):
                    k += 1
                i = k + 1
                continue
            top[1] = i
        if c == '{':
            stack.append([_brace_kind(code, i, top[0]), None])
        elif c in '([':
            stack.append(['paren', None])
        elif c in '})]':
            if len(stack) > 1:
                stack.pop()
        elif c == ';' and top[0] == 'block' and top[1] is not None:
            if _droppable(code[top[1]:i + 1]):
                found.append((top[1], i + 1))
            top[1] = None
        i += 1
    return found
