"""Measures review-quiz as a user of a terminal or a pipeline would feel it.

1. Throughput: a whole scripted test, input through a pipe and output to a
   pipe, against `cat` copying the same output bytes from a pipe to a pipe.
   Wall time (median of interleaved runs) and peak memory of each.
2. Terminal: the number of write calls the program makes for each screen,
   that is, between one wait for input and the next, on a pseudo-terminal.
"""

import os
import pty
import statistics
import subprocess
import sys
import tempfile
import threading
import time

RUNS = 15


def answers(wrong_first):
    """Input for a whole test whatever the draw: wrong_first wrong answers to
    the first question, then the letters a to d in turn, each answer followed
    by its pause line, so every question is right within four answers."""
    lines = ["", "", ""]
    lines += ["x", ""] * wrong_first
    for answer in range(40):
        lines += ["abcd"[answer % 4], ""]
    return ("\n".join(lines) + "\n\n").encode()


def run_piped(command, data):
    """Runs command with data on a pipe as input and its output drained from a
    pipe; returns (wall seconds, output bytes)."""
    start = time.perf_counter()
    child = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE)

    def feed():
        try:
            child.stdin.write(data)
            child.stdin.close()
        except BrokenPipeError:
            pass

    feeder = threading.Thread(target=feed)
    feeder.start()
    chunks = []
    while chunk := child.stdout.read(1 << 16):
        chunks.append(chunk)
    status = child.wait()
    wall = time.perf_counter() - start
    feeder.join()
    if status != 0:
        sys.exit(f"{command[0]} ended with status {status}")
    return wall, b"".join(chunks)


def peak_memory(command, data):
    """Peak resident memory of command, in KiB, as GNU time reports it."""
    with tempfile.NamedTemporaryFile() as report:
        run_piped(["/usr/bin/time", "-f", "%M", "-o", report.name] + command, data)
        return int(open(report.name).read().split()[-1])


def throughput(quiz, wrong_first):
    data = answers(wrong_first)
    _, output = run_piped([quiz], data)
    quiz_times, cat_times = [], []
    for _ in range(RUNS):
        quiz_times.append(run_piped([quiz], data)[0])
        cat_times.append(run_piped(["cat"], output)[0])
    quiz_memory = peak_memory([quiz], data)
    cat_memory = peak_memory(["cat"], output)
    quiz_time = statistics.median(quiz_times)
    cat_time = statistics.median(cat_times)
    print(f"whole test, {len(data)} bytes in, {len(output)} bytes out:")
    print(f"  review-quiz {quiz_time * 1000:8.2f} ms  {quiz_memory:6d} KiB peak")
    print(f"  cat         {cat_time * 1000:8.2f} ms  {cat_memory:6d} KiB peak")
    print(f"  time ratio  {quiz_time / cat_time:8.2f}")


def memory_with_a_long_line(quiz):
    """Peak memory of a whole test with a 64 MiB answer line, against the
    same test without it."""
    long_line = b"\n\n\n" + b"x" * (64 << 20) + b"\n\n" + answers(0)[3:]
    short = peak_memory([quiz], answers(1))
    long = peak_memory([quiz], long_line)
    print(f"peak memory: {short} KiB for a whole test, {long} KiB with a 64 MiB answer line")


def writes_per_screen(quiz):
    """Runs the quiz under strace on a pseudo-terminal with a whole test typed
    ahead, and groups its writes by the reads between them."""
    with tempfile.TemporaryDirectory() as folder:
        log = os.path.join(folder, "calls")
        pid, terminal = pty.fork()
        if pid == 0:
            os.execvp("strace", ["strace", "-qq", "-e", "trace=read,write",
                                 "-e", "signal=none", "-o", log, quiz])
        typed = answers(0).replace(b"\n", b"\r")
        os.write(terminal, typed)
        while True:
            try:
                if not os.read(terminal, 1 << 16):
                    break
            except OSError:
                break
        os.waitpid(pid, 0)
        with open(log) as calls:
            lines = calls.read().splitlines()
    screens, writes = [], 0
    for line in lines:
        if line.startswith("read(0,"):
            if writes:
                screens.append(writes)
            writes = 0
        elif line.startswith("write(1,"):
            writes += 1
    if writes:
        screens.append(writes)
    print(f"pseudo-terminal, a whole test typed ahead: {len(screens)} screens,"
          f" {sum(screens)} writes, at most {max(screens)} write(s) per screen")


def main():
    quiz = os.path.abspath(sys.argv[1])
    throughput(quiz, 0)
    throughput(quiz, 20000)
    memory_with_a_long_line(quiz)
    writes_per_screen(quiz)


if __name__ == "__main__":
    main()
