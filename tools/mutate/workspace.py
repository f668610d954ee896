"""A worker's own copy of the project and its build.

Mutants are written into the copy, never into the source tree: an
interrupted run can leave nothing behind there. The copy is brought up to
date at every start (only changed files are written, so only their objects
recompile), and every mutated file is written back to its original before
the run ends.
"""

import os
import shutil
import subprocess

# What the checks run; nothing else is linked for a mutant.
TARGETS = ('pellmora-sim', 'pellmora_unit_tests', 'pellmora_play_tests', 'pellmora_web_tests')


def tracked_files(root):
    out = subprocess.run(['git', 'ls-files', '-z', '--cached', '--others', '--exclude-standard'],
                         cwd=root, check=True, capture_output=True).stdout
    return [f for f in out.decode().split('\0') if f and os.path.isfile(os.path.join(root, f))]


class Workspace:
    def __init__(self, root, folder):
        self.root = root
        self.folder = folder
        self.src = os.path.join(folder, 'src')
        self.obj = os.path.join(folder, 'obj')
        self.log = os.path.join(folder, 'build.log')
        self.originals = {}  # relative path -> bytes, for files a mutant changed

    def sync(self, files):
        for rel in files:
            a = os.path.join(self.root, rel)
            b = os.path.join(self.src, rel)
            with open(a, 'rb') as f:
                data = f.read()
            if os.path.exists(b):
                with open(b, 'rb') as f:
                    if f.read() == data:
                        continue
            os.makedirs(os.path.dirname(b), exist_ok=True)
            shutil.copy2(a, b)
            os.utime(b)  # newer than any object built from an older copy

    # An index past an array (a built-in one, or the library's) stops the
    # program: a mutant that reads or writes there is a fault even when the
    # bytes beyond happen to hold a harmless value.
    MUTANT_FLAGS = '-O1 -fsanitize=bounds -fsanitize-undefined-trap-on-error -D_GLIBCXX_ASSERTIONS'

    def configure(self, flags=MUTANT_FLAGS):
        if os.path.exists(os.path.join(self.obj, 'CMakeCache.txt')):
            return
        generator = ['-G', 'Ninja'] if shutil.which('ninja') else []
        linker = ['-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=gold'] if shutil.which('ld.gold') else []
        # -O1: quick to compile, quick enough to run; no desktop, no Qt.
        # Flags other than the cache's need a new folder (MUTATE_BUILD).
        subprocess.run(['cmake', '-S', self.src, '-B', self.obj, *generator,
                        '-DPELLMORA_DESKTOP=OFF', '-DCMAKE_BUILD_TYPE=None',
                        f'-DCMAKE_CXX_FLAGS={flags}', *linker],
                       check=True, stdout=subprocess.DEVNULL)

    def build(self, targets=TARGETS, jobs=1):
        with open(self.log, 'w') as log:
            done = subprocess.run(['cmake', '--build', self.obj, '-j', str(jobs), '--target',
                                   *targets], stdout=log, stderr=subprocess.STDOUT)
        return done.returncode == 0

    def write(self, rel, text):
        path = os.path.join(self.src, rel)
        if rel not in self.originals:
            with open(path, 'rb') as f:
                self.originals[rel] = f.read()
        with open(path, 'w', encoding='utf-8', newline='') as f:
            f.write(text)
        os.utime(path)

    def restore(self):
        for rel, data in self.originals.items():
            path = os.path.join(self.src, rel)
            with open(path, 'wb') as f:
                f.write(data)
            os.utime(path)
        self.originals.clear()

    def binary(self, target):
        if target == 'pellmora-sim':
            return os.path.join(self.obj, 'tools', 'pellmora-sim', 'pellmora-sim')
        return os.path.join(self.obj, 'tests', target)
