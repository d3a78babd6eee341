#!/usr/bin/env python3
"""amftool on generated assistants of 3 MB and 30 MB (2,250 and 22,500 screens of five options, made by
bench/make_assistant.py), side by side with `xmllint --noout` on the same files, in one run: the runs of
all commands at both sizes are interleaved, so that every figure meets the machine in the same state.

    python3 bench/scaling.py [BUILD_DIR] [RUNS]      (defaults: build, 5)

For each command it prints the CPU time (user + system of the process, the least of RUNS runs), the wall
time of that run and the peak resident memory, at both sizes, and the ratio 30 MB / 3 MB; then amftool
check against xmllint at 30 MB and the peak memory of check against the file's size. On a shared machine
CPU time is the figure to compare: wall time there mostly measures the other work. The fixtures go to a
temporary folder that is removed at the end. Needs xmllint (Debian package libxml2-utils).
"""
import os
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
USER = '{00000000-0000-4000-8000-000000000000} Bench'


def measure(argv):
    """Runs the command with its output thrown away; returns (CPU seconds, wall seconds, peak KB, status)."""
    start = time.monotonic()
    with open(os.devnull, 'wb') as null:
        child = subprocess.Popen(argv, stdout=null, stderr=null)
        _, status, usage = os.wait4(child.pid, 0)
    wall = time.monotonic() - start
    return usage.ru_utime + usage.ru_stime, wall, usage.ru_maxrss, os.waitstatus_to_exitcode(status)


def main() -> None:
    build = sys.argv[1] if len(sys.argv) > 1 else 'build'
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    tool = os.path.join(ROOT, build, 'amftool')
    if not os.access(tool, os.X_OK):
        sys.exit(f'scaling.py: no {tool}; build first')
    with tempfile.TemporaryDirectory() as work:
        files = {}
        for size, screens in (('3MB', 2250), ('30MB', 22500)):
            files[size] = os.path.join(work, size + '.amf')
            with open(files[size], 'w') as out:
                subprocess.run([sys.executable, os.path.join(ROOT, 'bench', 'make_assistant.py'), str(screens)],
                               stdout=out, check=True)
        saved = os.path.join(work, 'saved.amf')
        commands = {
            'xmllint': lambda f: ['xmllint', '--noout', f],
            'load': lambda f: [tool, 'notices', f, '--user', USER],  # reads the file, prints what opening shows
            'check': lambda f: [tool, 'check', f],
            'structure': lambda f: [tool, 'structure', f],
            'report': lambda f: [tool, 'report', f, '-o', os.devnull],
            'save': lambda f: [tool, 'resave', f, '--user', USER, '-o', saved],
        }
        best = {}
        for _ in range(runs):
            for size, path in files.items():
                for name, argv in commands.items():
                    cpu, wall, peak, status = measure(argv(path))
                    if status != 0:
                        sys.exit(f'scaling.py: {name} {size} failed with status {status}')
                    key = (name, size)
                    old = best.get(key)
                    if old is None or cpu < old[0]:
                        best[key] = (cpu, wall, max(peak, old[2] if old else 0))
                    else:
                        best[key] = (old[0], old[1], max(peak, old[2]))
        sizes = {size: os.path.getsize(path) for size, path in files.items()}
    print(f'files: {sizes["3MB"]:,} and {sizes["30MB"]:,} bytes; {runs} runs of each command; '
          'CPU = user + system seconds, least of the runs; wall = that run; peak = most resident memory')
    print()
    print(f'{"command":<10} {"CPU 3MB":>8} {"wall":>7} {"peak MB":>8} {"CPU 30MB":>9} {"wall":>7} {"peak MB":>8} '
          f'{"30MB/3MB":>9}')
    for name in commands:
        c3, w3, p3 = best[(name, '3MB')]
        c30, w30, p30 = best[(name, '30MB')]
        print(f'{name:<10} {c3:8.3f} {w3:7.2f} {p3 / 1024:8.1f} {c30:9.3f} {w30:7.2f} {p30 / 1024:8.1f} '
              f'{c30 / c3:9.1f}')
    print()
    check, lint = best[('check', '30MB')], best[('xmllint', '30MB')]
    print(f'check / xmllint at 30 MB: {check[0] / lint[0]:.2f} (CPU), {check[1] / lint[1]:.2f} (wall)')
    print(f'peak memory of check / file size at 30 MB: {check[2] * 1024 / sizes["30MB"]:.2f}')


if __name__ == '__main__':
    main()
