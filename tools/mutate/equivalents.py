"""The mutants that cannot change what the game does, as a person listed them.

One line each: FILE | LINE AS WRITTEN | CHANGE | WHY (the line may hold " | ";
the change and the reason may not). The line is matched
by its text (spaces collapsed), not its number, so that the entry holds when
lines move; the change is written as the report writes it.
"""


def _squash(text):
    return ' '.join(text.split())


class Equivalents:
    def __init__(self, path):
        self.path = path
        self.entries = {}  # (file, line, change) -> reason
        self.used = set()
        try:
            with open(path, encoding='utf-8') as f:
                for number, raw in enumerate(f, 1):
                    raw = raw.strip()
                    if not raw or raw.startswith('#'):
                        continue
                    # The line itself may hold " | ": it is what lies between.
                    head = raw.split(' | ', 1)
                    parts = head[:1] + (head[1].rsplit(' | ', 2) if len(head) == 2 else [])
                    parts = [p.strip() for p in parts]
                    if len(parts) != 4 or not parts[3]:
                        raise SystemExit(f'{path}:{number}: want FILE | LINE | CHANGE | WHY')
                    self.entries[(parts[0], _squash(parts[1]), parts[2])] = parts[3]
        except FileNotFoundError:
            pass

    def reason(self, mutant):
        key = (mutant.file, _squash(mutant.line_text), mutant.change)
        if key in self.entries:
            self.used.add(key)
            return self.entries[key]
        return None

    def unused(self, files):
        """Entries for the files of this run that matched no mutant."""
        return [k for k in self.entries if k not in self.used and k[0] in files]
