"""The fast native suite as separate checks, so that a mutant stops at the
first one that fails: every scenario (played as tests/run-scenario.sh plays
it), every test suite of the GoogleTest binaries, and the replays' record
and verify script on the native pellmora-sim.
"""

import glob
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time

GTEST_BINARIES = ('pellmora_unit_tests', 'pellmora_play_tests', 'pellmora_web_tests')


class Check:
    def __init__(self, name, target):
        self.name = name
        self.target = target
        self.seconds = 1.0

    def timeout(self):
        # A mutant that loops for ever is killed by its timeout.
        return max(5.0, 10 * self.seconds + 2)

    def run(self, ws, timeout, mutant=0):
        """'pass', 'fail' or 'timeout'; mutant: the schema's choice (0: none)."""
        raise NotImplementedError


def _run(args, timeout, mutant, env=None, **kw):
    env = dict(env or os.environ, PELLMORA_MUTANT=str(mutant))
    try:
        done = subprocess.run(args, timeout=timeout, stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, env=env, **kw)
    except subprocess.TimeoutExpired:
        return None, None
    return done.returncode, done.stdout


class Scenario(Check):
    def __init__(self, script):
        super().__init__('scenario.' + os.path.basename(script)[:-4], 'pellmora-sim')
        self.rel = script

    def run(self, ws, timeout, mutant=0):
        base = os.path.join(ws.src, self.rel)[:-4]

        def read(suffix):
            try:
                with open(base + suffix, 'rb') as f:
                    return f.read()
            except FileNotFoundError:
                return None

        work = tempfile.mkdtemp(prefix='pellmora-mutate-')
        try:
            if read('.before.dat') is not None:
                shutil.copy(base + '.before.dat', os.path.join(work, 'HiScore.dat'))
            args = (read('.args') or b'').decode().split()
            expected_exit = int((read('.exit') or b'0').decode().strip())
            status, out = _run([ws.binary('pellmora-sim'), *args, base + '.scn'], timeout, mutant,
                               cwd=work)
            if status is None:
                return 'timeout'
            if status != expected_exit or out != read('.out'):
                return 'fail'
            saved = os.path.join(work, 'HiScore.dat')
            for suffix, name in (('.after.dat', saved), ('.after.bak', saved + '.bak')):
                want = read(suffix)
                if want is not None:
                    if not os.path.exists(name):
                        return 'fail'
                    with open(name, 'rb') as f:
                        if f.read() != want:
                            return 'fail'
            if read('.after.absent') is not None and os.path.exists(saved):
                return 'fail'
            return 'pass'
        finally:
            shutil.rmtree(work, ignore_errors=True)


class Script(Check):
    """A test script given pellmora-sim, as ctest runs it; it makes its own folder."""

    def __init__(self, script):
        super().__init__('script.' + os.path.basename(script)[:-3], 'pellmora-sim')
        self.rel = script

    def run(self, ws, timeout, mutant=0):
        env = dict(os.environ, PELLMORA_MUTANT=str(mutant))
        # A group of its own: a timeout ends the looping pellmora-sim too, and
        # TERM first lets the script's trap remove its folder.
        proc = subprocess.Popen(['bash', os.path.join(ws.src, self.rel), ws.binary('pellmora-sim')],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env,
                                start_new_session=True)
        try:
            return 'pass' if proc.wait(timeout) == 0 else 'fail'
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, signal.SIGTERM)
            try:
                proc.wait(2)
            except subprocess.TimeoutExpired:
                os.killpg(proc.pid, signal.SIGKILL)
                proc.wait()
            return 'timeout'


# Kept replays re-run only under the rules they were played by: a mutant of
# the rules' version is seen here alone.
SCRIPTS = ('tests/replay/record_verify.sh',)


class GTestSuite(Check):
    def __init__(self, target, suite, forks=False):
        super().__init__(f'{target}:{suite}', target)
        self.suite = suite
        # Its children end with _exit or a kill, so coverage does not see what
        # they run: such a suite meets every mutant.
        self.forks = forks

    def run(self, ws, timeout, mutant=0):
        env = dict(os.environ, PELLMORA_SOURCE_DIR=ws.src)
        status, _ = _run([ws.binary(self.target), f'--gtest_filter={self.suite}.*',
                          '--gtest_fail_fast', '--gtest_brief=1'], timeout, mutant,
                         cwd=os.path.join(ws.obj, 'tests'), env=env)
        if status is None:
            return 'timeout'
        return 'pass' if status == 0 else 'fail'


def _forking_suites(src):
    found = set()
    for path in glob.glob(os.path.join(src, 'tests', '**', '*.cpp'), recursive=True):
        with open(path, encoding='utf-8', errors='replace') as f:
            text = f.read()
        if 'fork(' in text:
            found.update(re.findall(r'\bTEST(?:_F|_P)?\((\w+),', text))
    return found


def discover(ws):
    forking = _forking_suites(ws.src)
    checks = [Scenario(os.path.relpath(s, ws.src))
              for s in sorted(glob.glob(os.path.join(ws.src, 'tests', 'scenarios', '*.scn')))]
    checks += [Script(s) for s in SCRIPTS]
    for target in GTEST_BINARIES:
        listing = subprocess.run([ws.binary(target), '--gtest_list_tests'], check=True,
                                 capture_output=True, text=True).stdout
        for line in listing.splitlines():
            if line and not line.startswith(' ') and line.endswith('.'):
                checks.append(GTestSuite(target, line[:-1], line[:-1] in forking))
    return checks


def baseline(ws, checks):
    """Times every check on the unmutated build; all must pass."""
    failing = []
    for check in checks:
        t = time.monotonic()
        if check.run(ws, 600) != 'pass':
            failing.append(check.name)
        check.seconds = time.monotonic() - t
    return failing
